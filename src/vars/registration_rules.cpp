#include "vars/registration_rules.h"

#include <charconv>

#include "base/text.h"

namespace kvb {

std::optional<int64_t> DecodeSharedCount(uint32_t type, std::string_view bytes) {
  if (type == kCountDword || type == kCountBinary) {
    const size_t size = bytes.size();
    if (size == 0 || size > 4 || (type == kCountDword && size != 4))
      return std::nullopt;
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i)
      value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) << (8 * i);
    return static_cast<int32_t>(value);
  }
  if (type != kCountSz)
    return std::nullopt;
  std::string_view text = bytes.substr(0, bytes.find('\0'));
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return value;
}

std::string EncodeSharedCount(uint32_t& type, int64_t count) {
  if (type == kCountSz)
    return std::to_string(count) + '\0';
  if (type != kCountBinary)
    type = kCountDword;
  const auto value = static_cast<uint32_t>(count);
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

std::string FontRegisteredName(std::string_view file, std::string_view fonts_folder) {
  if (!fonts_folder.empty() &&
      SameText(ExtractFilePath(file), IncludeTrailingBackslash(fonts_folder))) {
    return ExtractFileName(file);
  }
  return std::string(file);
}

}  // namespace kvb
