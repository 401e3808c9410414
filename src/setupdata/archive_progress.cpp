#include "setupdata/archive_progress.h"

#include <algorithm>
#include <cmath>

namespace kvb {
namespace {

int64_t Scaled(double value, const ArchiveProgressScale& scale) {
  const int64_t rounded = RoundHalfEven(value);
  int64_t sum;
  // Saturating: a damaged scale must not overflow.
  if (__builtin_add_overflow(rounded, int64_t{scale.Base}, &sum)) {
    sum = rounded > 0 ? INT64_MAX : INT64_MIN;
  }
  return std::min<int64_t>(sum, scale.Max);
}

}  // namespace

int64_t RoundHalfEven(double value) {
  if (std::isnan(value))
    return 0;
  if (value >= 9.2e18)
    return INT64_MAX;
  if (value <= -9.2e18)
    return INT64_MIN;
  return static_cast<int64_t>(std::nearbyint(value));  // default mode: to nearest, ties to even
}

int64_t ProgressPercent(uint32_t done, uint32_t total) {
  if (total == 0)
    return 100;
  const uint64_t scaled = uint64_t{done} * 100;
  const uint64_t q = scaled / total;
  const uint64_t r2 = (scaled % total) * 2;
  const bool up = r2 > total || (r2 == total && (q & 1));
  return static_cast<int64_t>(q + (up ? 1 : 0));
}

int64_t ProgressValue(uint32_t done, uint32_t total, const ArchiveProgressScale& scale) {
  const int64_t percent = ProgressPercent(done, total);
  // Skipped chunks count whole pieces, so the percentage can pass 100; the reported
  // position is a byte, which must not wrap.
  if (scale.Span == 0)
    return std::min<int64_t>(percent, 100);
  return Scaled(scale.Span * scale.Scale / 100 * static_cast<double>(percent), scale);
}

int64_t FinalProgressValue(const ArchiveProgressScale& scale) {
  if (scale.Span == 0)
    return 100;
  return Scaled(scale.Span * scale.Scale, scale);
}

}  // namespace kvb
