#include "devices/agent_answer.h"

namespace kvb {
namespace {

std::u16string WideChars(std::span<const uint8_t> bytes, size_t from, size_t limit) {
  std::u16string text;
  for (size_t i = from; i + 1 < bytes.size() && text.size() < limit; i += 2) {
    const auto c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (c == 0)
      break;
    text += c;
  }
  return text;
}

}  // namespace

std::u16string WideValueText(std::span<const uint8_t> bytes) {
  return WideChars(bytes, 0, kDeviceTextLimit);
}

std::u16string OwnerField(std::span<const uint8_t> owner, int field, int32_t major_version) {
  size_t start = 0;
  if (field == 1)
    start = major_version >= 3 ? 36 : 33;
  else if (field != 0)
    return {};
  return WideChars(owner, start * 2, kDeviceTextLimit);
}

}  // namespace kvb
