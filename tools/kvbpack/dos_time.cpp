#include "dos_time.h"

#include <cstdio>

namespace kvb::pack {
namespace {

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

bool Valid(const DosDateTime& t) {
  return t.year >= 1980 && t.year <= 2107 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour < 24 && t.minute >= 0 &&
         t.minute < 60 && t.second >= 0 && t.second < 60;
}

// Civil date from days since 1970-01-01 (proleptic Gregorian).
void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

}  // namespace

std::optional<uint32_t> PackDosTime(const DosDateTime& t) {
  if (!Valid(t) || t.second % 2 != 0)
    return std::nullopt;
  const uint32_t date = ((t.year - 1980) << 9) | (t.month << 5) | t.day;
  const uint32_t time = (t.hour << 11) | (t.minute << 5) | (t.second / 2);
  return (date << 16) | time;
}

std::optional<DosDateTime> UnpackDosTime(uint32_t packed) {
  const uint32_t date = packed >> 16, time = packed & 0xFFFF;
  DosDateTime t{static_cast<int>(date >> 9) + 1980, static_cast<int>((date >> 5) & 15),
                static_cast<int>(date & 31),        static_cast<int>(time >> 11),
                static_cast<int>((time >> 5) & 63), static_cast<int>((time & 31) * 2)};
  if (!Valid(t))
    return std::nullopt;
  return t;
}

uint32_t DosTimeFromUnix(int64_t seconds) {
  constexpr int64_t kMin = 315532800;   // 1980-01-01 00:00:00
  constexpr int64_t kMax = 4354819198;  // 2107-12-31 23:59:58
  if (seconds < kMin)
    seconds = kMin;
  if (seconds > kMax)
    seconds = kMax;
  const int64_t days = seconds / 86400, rest = seconds % 86400;
  DosDateTime t;
  CivilFromDays(days, t.year, t.month, t.day);
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60) & ~1;
  return *PackDosTime(t);
}

std::string FormatDosTime(const DosDateTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return buf;
}

std::optional<DosDateTime> ParseDosTimeText(std::string_view text) {
  DosDateTime t;
  char sep = 0;
  int used = 0;
  const std::string s(text);
  const int n = std::sscanf(s.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%n", &t.year, &t.month, &t.day,
                            &sep, &t.hour, &t.minute, &t.second, &used);
  if (n == 7 && (sep == ' ' || sep == 'T') && static_cast<size_t>(used) == s.size())
    return t;
  t.hour = t.minute = t.second = 0;
  used = 0;
  if (std::sscanf(s.c_str(), "%4d-%2d-%2d%n", &t.year, &t.month, &t.day, &used) == 3 &&
      static_cast<size_t>(used) == s.size()) {
    return t;
  }
  return std::nullopt;
}

}  // namespace kvb::pack
