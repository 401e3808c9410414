#include "install/registry_data.h"

#include <algorithm>

namespace kvb {
namespace {

RegistryData Dword(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return {kRegDword, bytes};
}

RegistryData Integer(std::string_view data) {
  uint64_t value = 0;
  for (char c : data) {
    if (c >= '0' && c <= '9')
      value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - '0'), UINT32_MAX);
  }
  return Dword(static_cast<uint32_t>(value));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

RegistryData Binary(std::string_view data) {
  std::string bytes;
  size_t pos = 0;
  while (pos < data.size()) {
    const size_t end = std::min(data.find(' ', pos), data.size());
    if (end > pos) {
      unsigned value = 0;
      for (size_t i = pos; i < end && HexDigit(data[i]) >= 0; ++i)
        value = ((value << 4) | static_cast<unsigned>(HexDigit(data[i]))) & 0xFF;
      bytes += static_cast<char>(value);
    }
    pos = end + 1;
  }
  return {kRegBinary, bytes};
}

RegistryData MultiString(std::string_view data) {
  std::string bytes;
  size_t pos = 0;
  for (;;) {
    const size_t end = data.find(';', pos);
    bytes.append(
        data.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
    bytes += '\0';
    if (end == std::string_view::npos)
      break;
    pos = end + 1;
  }
  bytes += '\0';
  return {kRegMultiSz, bytes};
}

}  // namespace

RegistryData EncodeRegistryData(uint32_t change_type, std::string_view data) {
  switch (change_type) {
    case kRegChangeString:
      return {kRegSz, std::string(data) + '\0'};
    case kRegChangeInteger:
      return Integer(data);
    case kRegChangeBinary:
      return Binary(data);
    default:
      return MultiString(data);
  }
}

}  // namespace kvb
