#include "net/download_progress.h"

namespace kvb {

namespace {

// received x 100 / total rounded down, for received < total, exactly and for any size:
// the two decimal digits of the fraction by long division, with additions that cannot
// overflow since every remainder stays below total.
int Percent(uint64_t received, uint64_t total) {
  int percent = 0;
  uint64_t rest = received;
  for (int digit = 0; digit < 2; ++digit) {
    // next := 10 x rest mod total, value := 10 x rest div total.
    uint64_t next = 0;
    int value = 0;
    for (int i = 0; i < 10; ++i) {
      if (next >= total - rest) {
        next -= total - rest;
        ++value;
      } else {
        next += rest;
      }
    }
    percent = percent * 10 + value;
    rest = next;
  }
  return percent;
}

}  // namespace

int DownloadProgressPosition(uint64_t received, uint64_t announced) {
  if (announced == 0) {
    // received / (received + half way) grows towards 1 and is one half at the half-way
    // mark; the end of the bar is left for the end of the transfer.
    const uint64_t total = received + kUnknownLengthHalfWay;
    if (total < received)
      return 99;
    return Percent(received, total);
  }
  if (received >= announced)
    return 100;
  return Percent(received, announced);
}

}  // namespace kvb
