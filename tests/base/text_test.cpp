#include "base/text.h"

#include <gtest/gtest.h>

namespace kvb {
namespace {

TEST(TextTest, ComparisonFoldsOnlyAsciiLetters) {
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  // '_' (0x5F) sorts after 'Z' but before 'a' by value; folding makes 'a' compare as 'A'.
  EXPECT_GT(CompareText("_", "a"), 0);
  // Bytes above 0x7F are not folded.
  EXPECT_NE(CompareText("\xE4", "\xC4"), 0);
  EXPECT_EQ(FindText("C:\\Program Files\\X", "program"), 3u);
}

TEST(TextTest, LenientIntegersKeepDigitsAndMinusSigns) {
  struct Case {
    const char* text;
    std::optional<int32_t> value;
  } cases[] = {
      {"", 0},          {"12", 12},         {" 1 2px", 12},         {"-5", -5},
      {"abc", 0},       {"-", std::nullopt}, {"1-2", std::nullopt}, {"--5", std::nullopt},
      {"2147483647", 2147483647}, {"2147483648", std::nullopt},
      {"-2147483648", INT32_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseLenientInt(c.text), c.value) << c.text;
}

TEST(TextTest, PathPieces) {
  EXPECT_EQ(ExtractFileName("C:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(ExtractFileName("a/b:c"), "c");
  EXPECT_EQ(ExtractFilePath("C:\\a\\b.txt"), "C:\\a\\");
  EXPECT_EQ(ExtractFileExt("C:\\a.d\\b"), "");
  EXPECT_EQ(ExtractFileExt("b.tar.gz"), ".gz");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\x\\\\"), "C:\\x\\");
  EXPECT_EQ(IncludeTrailingBackslash(""), "\\");
}

}  // namespace
}  // namespace kvb
