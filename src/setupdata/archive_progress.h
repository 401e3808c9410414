// Progress values the archive reader reports: plain percentages of a block, or the
// block's share of a wider scale (the main archive and the component archives one after
// the other on one progress bar).
#pragma once

#include <cstdint>

namespace kvb {

struct ArchiveProgressScale {
  int32_t Base = 0;  // value at the start of the block
  int32_t Max = 0;   // values above are cut to this
  int32_t Span = 0;  // 0: plain percentages; else the block's width on the owner's scale
  double Scale = 0;  // factor applied to Span (100 / Span in a package)
};

// Rounds to the nearest integer, halves to even. Not-a-number gives 0; values beyond
// the 64-bit range are held at its ends.
int64_t RoundHalfEven(double value);

// Percentage of `done` in `total`, rounded half to even with exact integer arithmetic;
// may exceed 100 (skipped chunks count 65,536 bytes each). A total of 0 counts as done.
int64_t ProgressPercent(uint32_t done, uint32_t total);

// The value reported after a chunk: the percentage, at most 100, or, with a span,
// round(Span * Scale / 100 * percent) + Base, at most Max.
int64_t ProgressValue(uint32_t done, uint32_t total, const ArchiveProgressScale& scale);

// The value reported when the block ends: 100, or round(Span * Scale) + Base, at most Max.
int64_t FinalProgressValue(const ArchiveProgressScale& scale);

}  // namespace kvb
