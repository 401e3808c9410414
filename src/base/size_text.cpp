#include "base/size_text.h"

namespace kvb {

std::string FormatSizeText(uint64_t value, SizeUnit unit, char decimal_separator) {
  static const char* const kUnits[] = {" bytes", " KB", " MB", " GB"};
  int level = unit == SizeUnit::kKilobytes ? 1 : 0;
  uint64_t divisor = 1;
  while (level < 3 && value / divisor >= 1024) {
    divisor *= 1024;
    ++level;
  }
  // Hundredths of value / divisor, computed without overflow.
  const uint64_t hundredths = value / divisor * 100 + value % divisor * 100 / divisor;
  const uint64_t tenths = hundredths / 10 + (hundredths % 10 >= 5 ? 1 : 0);
  std::string text = std::to_string(tenths / 10);
  // Only a whole number goes without its decimal: 2,047 bytes round up to "2.0 KB".
  if (value % divisor != 0) {
    text += decimal_separator;
    text += static_cast<char>('0' + tenths % 10);
  }
  return text + kUnits[level];
}

}  // namespace kvb
