// Package assembly: the executable image, the header (18 section offsets), sections 0
// to 17 in index order without gaps, and the 12-byte trailer (header offset,
// main-archive offset, magic). The archive sections are streamed from byte sources, so
// they need not fit in memory.
//
// The file ends on a multiple of kPackageAlignment: signing tools align the certificate
// table they append on 8 bytes, and a file that already ends there gets no padding
// between its trailer and the table. The zero bytes that make up the length close
// section 17, whose reader stops after its last record.
#pragma once

#include <array>
#include <cstdint>

#include "setupdata/byte_sink.h"
#include "setupdata/byte_source.h"
#include "setupdata/setup_data.h"

namespace kvb {

inline constexpr uint64_t kPackageAlignment = 8;

struct TPackageArchives {
  // Section 15 as a whole: the HasArchive byte 1 followed by the temporary-file archive
  // block. nullptr writes the single byte 0 (no temporary files). Must not be empty.
  ByteSource* TempSection = nullptr;
  // Section 16 as a whole: the main archive block, then the component blocks at the
  // absolute offsets that section 6 names. nullptr writes an empty section.
  ByteSource* MainSection = nullptr;
  // The main archive lies in volume files: the trailer's main-archive offset is 0.
  // Section 16 may then be empty or hold only component blocks.
  bool MainArchiveInVolumes = false;
};

struct TPackageLayout {
  uint64_t HeaderOffset = 0;  // = the size of the executable image
  std::array<uint64_t, kSectionCount> SectionOffsets{};
  uint64_t Padding = 0;  // zero bytes at the end of section 17
  uint64_t TrailerOffset = 0;
  uint64_t FileSize = 0;  // a multiple of kPackageAlignment
};

// Where everything lands when `data` is written behind an image of `stub_size` bytes
// with archive sections of the given sizes. Section 6 stores the component offsets
// in fixed-width fields, so its size, and thereby the layout, does not depend on
// them: the builder computes the layout, places the component blocks behind the main
// block inside section 16 (from SectionOffsets[16]), stores their offsets in
// data.Components, then writes. Throws FormatError when an offset would not fit the
// format's 32-bit fields.
TPackageLayout ComputePackageLayout(const TSetupData& data,
                                    uint64_t stub_size,
                                    uint64_t temp_section_size,
                                    uint64_t main_section_size);

// Writes the package into `sink`: `stub` (the executable image; nullptr for none),
// header, sections, trailer. The trailer's main-archive offset is the start of section
// 16, or 0 with MainArchiveInVolumes. Throws FormatError when the package would not
// fit the format's 32-bit offsets (also when the main archive would start beyond the
// signed trailer field), std::invalid_argument for an empty TempSection, SinkError
// when writing fails, FormatError when a source delivers fewer bytes than its size.
void WritePackage(ByteSink& sink,
                  ByteSource* stub,
                  const TSetupData& data,
                  const TPackageArchives& archives);

}  // namespace kvb
