#include "setupdata/byte_writer.h"

#include <cstring>

namespace kvb {

void ByteWriter::U16(uint16_t v) {
  U8(static_cast<uint8_t>(v));
  U8(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::U32(uint32_t v) {
  for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteWriter::F64(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  for (int i = 0; i < 8; ++i) U8(static_cast<uint8_t>(bits >> (8 * i)));
}

void ByteWriter::ZStr(std::string_view text) {
  out_.append(text);
  out_ += '\0';
}

}  // namespace kvb
