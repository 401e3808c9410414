#include "setupdata/setup_data.h"

#include "setupdata/byte_reader.h"

namespace kvb {

bool ReadSetupData(ByteSource& source, TSetupHeader& header) {
  try {
    const uint64_t size = source.Size();
    if (size < 12) return false;
    ByteReader reader(source);
    reader.Seek(size - 12);
    header.Trailer.HeaderOffset = reader.U32();
    header.Trailer.MainArchiveOffset = reader.I32();
    header.Trailer.Magic = reader.U32();
    reader.Seek(header.Trailer.HeaderOffset);
    for (uint32_t& offset : header.SectionOffsets) offset = reader.U32();
    reader.Seek(header.SectionOffsets[3]);
    for (uint8_t& option : header.StartupOptions) option = reader.U8();
    return true;
  } catch (const FormatError&) {
    return false;
  }
}

}  // namespace kvb
