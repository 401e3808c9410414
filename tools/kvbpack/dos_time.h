// DOS dates and times, the file dates stored in packages: date in the high 16 bits
// (years since 1980, month, day), time in the low 16 bits (hours, minutes, seconds / 2).
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace kvb::pack {

struct DosDateTime {
  int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// Packs a calendar time; nullopt when it cannot be stored (year outside 1980-2107, a
// field out of range, or an odd second, which the format cannot hold).
std::optional<uint32_t> PackDosTime(const DosDateTime& t);

// Unpacks; nullopt when the stored value is not a valid date (month 0, hour 25 ...).
std::optional<DosDateTime> UnpackDosTime(uint32_t packed);

// A file modification time (seconds since 1970, UTC) as a DOS date and time in UTC,
// rounded down to an even second and clamped to the years the format can hold. UTC keeps
// builds independent of the build machine's time zone.
uint32_t DosTimeFromUnix(int64_t seconds);

// "YYYY-MM-DD HH:MM:SS" of a valid packed value.
std::string FormatDosTime(const DosDateTime& t);
// Parses "YYYY-MM-DD HH:MM:SS", "YYYY-MM-DDTHH:MM:SS" or "YYYY-MM-DD".
std::optional<DosDateTime> ParseDosTimeText(std::string_view text);

}  // namespace kvb::pack
