#include "signed_file.h"

#include "setupdata/byte_writer.h"

namespace kvb::test {

namespace {

constexpr uint32_t kPeOffset = 0x40;
constexpr uint32_t kOptionalOffset = kPeOffset + 24;

void PutU32(std::string& bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

uint32_t SecurityEntry(const std::string& file) {
  const bool plus = static_cast<uint8_t>(file[kOptionalOffset + 1]) == 0x02;
  return kOptionalOffset + (plus ? 112 : 96) + 8 * 4;
}

}  // namespace

std::string PeImage(size_t size, bool plus) {
  std::string image(size < 512 ? 512 : size, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  PutU32(image, 0x3C, kPeOffset);
  image.replace(kPeOffset, 4, std::string("PE\0\0", 4));
  PutU32(image, kPeOffset + 4, 0x014C);                           // i386, no sections
  PutU32(image, kPeOffset + 20, plus ? 0x010200F0 : 0x010200E0);  // optional size, flags
  PutU32(image, kOptionalOffset, plus ? 0x020B : 0x010B);
  PutU32(image, kOptionalOffset + (plus ? 108 : 92), 16);  // data directory count
  return image;
}

void SetSecurityDirectory(std::string& file, uint32_t offset, uint32_t size) {
  PutU32(file, SecurityEntry(file), offset);
  PutU32(file, SecurityEntry(file) + 4, size);
}

std::string SignFile(std::string file, uint32_t entry_size) {
  file.resize((file.size() + 7) / 8 * 8, '\0');
  const uint32_t table = static_cast<uint32_t>(file.size());
  ByteWriter entry;
  entry.U32(entry_size);
  entry.U32(0x00020200);  // revision 2, PKCS#7 signed data
  file += entry.Take() + std::string(entry_size - 8, 'C');
  SetSecurityDirectory(file, table, entry_size);
  return file;
}

}  // namespace kvb::test
