#include "setupdata/setup_data.h"

#include "setupdata/byte_reader.h"

namespace kvb {

TSetupHeader ReadSetupHeader(ByteSource& source) {
  const uint64_t size = source.Size();
  if (size < 12)
    throw FormatError("the file is too short for a trailer");
  TSetupHeader header;
  ByteReader reader(source);
  reader.Seek(size - 12);
  header.Trailer.HeaderOffset = reader.U32();
  header.Trailer.MainArchiveOffset = reader.I32();
  header.Trailer.Magic = reader.U32();
  try {
    reader.Seek(header.Trailer.HeaderOffset);
    for (uint32_t& offset : header.SectionOffsets)
      offset = reader.U32();
  } catch (const FormatError& e) {
    throw FormatError(std::string("section table: ") + e.what());
  }
  try {
    reader.Seek(header.SectionOffsets[3]);
    for (uint8_t& option : header.StartupOptions)
      option = reader.U8();
  } catch (const FormatError& e) {
    throw FormatError(std::string("section 3 (start-up options): ") + e.what());
  }
  return header;
}

bool ReadSetupData(ByteSource& source, TSetupHeader& header) {
  try {
    header = ReadSetupHeader(source);
    return true;
  } catch (const FormatError&) {
    return false;
  }
}

}  // namespace kvb
