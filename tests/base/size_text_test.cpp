#include "base/size_text.h"

#include <gtest/gtest.h>

namespace kvb {
namespace {

TEST(SizeTextTest, ScalesAndRoundsToOneDecimal) {
  struct Case {
    uint64_t value;
    SizeUnit unit;
    const char* expected;
  } cases[] = {
      {0, SizeUnit::kBytes, "0 bytes"},
      {1023, SizeUnit::kBytes, "1023 bytes"},
      {1024, SizeUnit::kBytes, "1 KB"},
      {1536, SizeUnit::kBytes, "1.5 KB"},
      {1996, SizeUnit::kBytes, "1.9 KB"},  // 1.949...: the second decimal 4 rounds down
      {1997, SizeUnit::kBytes, "2.0 KB"},  // 1.950...: carries into the integer part
      {2047, SizeUnit::kBytes, "2.0 KB"},  // rounded to a whole number, not one
      {2048, SizeUnit::kBytes, "2 KB"},    // a whole number has no decimal
      {512, SizeUnit::kBytes, "512 bytes"},
      {1048575, SizeUnit::kBytes, "1024.0 KB"},  // below 1,024 KB before rounding
      {1536, SizeUnit::kKilobytes, "1.5 MB"},
      {3ull << 40, SizeUnit::kBytes, "3072 GB"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatSizeText(c.value, c.unit), c.expected) << c.value;
  EXPECT_EQ(FormatSizeText(2560, SizeUnit::kBytes, ','), "2,5 KB");
}

}  // namespace
}  // namespace kvb
