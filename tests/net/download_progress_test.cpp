#include "net/download_progress.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace kvb {
namespace {

constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();

TEST(DownloadProgressTest, AnnouncedLength) {
  struct Case {
    uint64_t received, announced;
    int position;
  } cases[] = {
      {0, 1000, 0},
      {9, 1000, 0},
      {10, 1000, 1},
      {999, 1000, 99},
      {1000, 1000, 100},
      {1, 3, 33},
      {2, 3, 66},
      {5000, 1000, 100},  // more than announced
      {kMax - 1, kMax, 99},
      {kMax / 2, kMax, 49},
      {kMax, kMax, 100},  // no overflow
      {uint64_t{5} << 40, uint64_t{10} << 40, 50},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DownloadProgressPosition(c.received, c.announced), c.position)
        << c.received << " of " << c.announced;
  }
}

TEST(DownloadProgressTest, UnknownLengthMovesWithoutReachingTheEnd) {
  EXPECT_EQ(DownloadProgressPosition(0, 0), 0);
  EXPECT_EQ(DownloadProgressPosition(kUnknownLengthHalfWay, 0), 50);
  EXPECT_EQ(DownloadProgressPosition(kMax, 0), 99);
  int previous = 0;
  bool moved = false;
  for (uint64_t received = 1; received < (uint64_t{1} << 40); received *= 3) {
    const int position = DownloadProgressPosition(received, 0);
    EXPECT_GE(position, previous) << received;
    EXPECT_LE(position, 99) << received;
    moved = moved || position > previous;
    previous = position;
  }
  EXPECT_TRUE(moved);
  EXPECT_EQ(previous, 99);
}

}  // namespace
}  // namespace kvb
