// Shared-DLL counts in each stored type, and the file name a font is registered under.
#include <gtest/gtest.h>

#include "vars/registration_rules.h"

namespace kvb {
namespace {

TEST(RegistrationRulesTest, SharedCountsDecodeByType) {
  struct Case {
    uint32_t type;
    std::string bytes;
    std::optional<int64_t> count;
  };
  const std::vector<Case> cases = {
      {kCountDword, std::string("\3\0\0\0", 4), 3},
      {kCountDword, std::string("\3\0", 2), std::nullopt},
      {kCountBinary, std::string("\5", 1), 5},
      {kCountBinary, std::string("\1\1", 2), 257},
      {kCountBinary, std::string("\xff\xff\xff\xff", 4), -1},
      {kCountBinary, std::string("\1\0\0\0\0", 5), std::nullopt},
      {kCountBinary, "", std::nullopt},
      {kCountSz, std::string("3\0", 2), 3},
      {kCountSz, " 12 ", 12},
      {kCountSz, "x", std::nullopt},
      {kCountSz, "99999999999", std::nullopt},
      {7, "3", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecodeSharedCount(c.type, c.bytes), c.count) << c.type << " '" << c.bytes << "'";
}

TEST(RegistrationRulesTest, CountsAreWrittenBackInTheirType) {
  uint32_t type = kCountSz;
  EXPECT_EQ(EncodeSharedCount(type, 4), std::string("4\0", 2));
  EXPECT_EQ(type, kCountSz);
  type = kCountBinary;
  EXPECT_EQ(EncodeSharedCount(type, 2), std::string("\2\0\0\0", 4));
  EXPECT_EQ(type, kCountBinary);
  type = 7;
  EXPECT_EQ(EncodeSharedCount(type, 1), std::string("\1\0\0\0", 4));
  EXPECT_EQ(type, kCountDword);
}

TEST(RegistrationRulesTest, FontsInTheFontsFolderAreRegisteredByFileName) {
  EXPECT_EQ(FontRegisteredName("C:\\Windows\\Fonts\\demo.ttf", "C:\\WINDOWS\\Fonts"), "demo.ttf");
  EXPECT_EQ(FontRegisteredName("C:\\Windows\\Fonts\\Sub\\demo.ttf", "C:\\Windows\\Fonts\\"),
            "C:\\Windows\\Fonts\\Sub\\demo.ttf");
  EXPECT_EQ(FontRegisteredName("D:\\App\\demo.ttf", "C:\\Windows\\Fonts"), "D:\\App\\demo.ttf");
}

}  // namespace
}  // namespace kvb
