// Whole-package reading for tools, tests and the builder: header, every section, and
// where the archive blocks lie. The runtime itself calls the section loaders one by one
// in its start-up order.
#pragma once

#include <cstdint>

#include "setupdata/byte_source.h"
#include "setupdata/setup_data.h"

namespace kvb {

// Where the archive blocks of a package start.
struct TArchiveLocations {
  // Section 15: its first byte is HasArchive; only the value 1 means that an archive
  // block follows it.
  uint8_t HasArchive = 0;
  uint64_t TempArchiveOffset = 0;  // the block behind that byte, when HasArchive is 1
  // The main archive: in this file when the trailer's offset is positive, else in
  // volume files (the setup file's name with ".001", ".002" ...).
  bool MainArchiveInFile = false;
  uint64_t MainArchiveOffset = 0;  // the trailer's offset, when in this file
};

// Reads the HasArchive byte and checks the trailer's main-archive offset. Throws
// FormatError naming the section when section 15 or the main archive offset lies
// outside the file. Component blocks are found through their records (section 6).
TArchiveLocations LocateArchives(ByteSource& source, const TSetupHeader& header);

// Byte range [Begin, End) of a section.
struct TSectionRange {
  uint64_t Begin = 0;
  uint64_t End = 0;
  uint64_t Size() const { return End - Begin; }
};

// A section's extent, taken as reaching up to the next boundary the header names
// behind it: the start of another section (a later section at the same offset makes
// it empty), the header, or the trailer. Exact for packages laid out in index order
// (as WritePackage does); for other layouts it is the best the file tells. Throws
// FormatError when the section offset lies beyond the trailer.
TSectionRange SectionRange(const TSetupHeader& header, int index, uint64_t file_size);

struct TSetupPackage {
  TSetupHeader Header;
  TSetupData Data;
  TArchiveLocations Archives;
  TSectionRange TempSection;  // section 15, HasArchive byte included
  TSectionRange MainSection;  // section 16: the main block and the component blocks
};

// Reads trailer, header, every section and the archive locations. Throws FormatError
// when anything cannot be read, or when the magic is not kSetupMagic.
TSetupPackage ReadPackage(ByteSource& source);

}  // namespace kvb
