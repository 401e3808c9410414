// Sizes as the user sees them: "512 bytes", "1.5 KB", "2.0 KB", "2 MB", "3.7 GB".
#pragma once

#include <cstdint>
#include <string>

namespace kvb {

enum class SizeUnit { kBytes, kKilobytes };

// Scales `value` (in `unit`) by 1,024 until it is below 1,024 or in gigabytes, then writes
// its integer digits and one decimal rounded half up from the second decimal (with carry
// into the integer part; the decimal is left out only when the scaled number is whole),
// followed by " bytes", " KB", " MB" or " GB".
std::string FormatSizeText(uint64_t value, SizeUnit unit, char decimal_separator = '.');

}  // namespace kvb
