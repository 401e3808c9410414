#include <gtest/gtest.h>

#include "vars/command_line.h"

namespace kvb {
namespace {

TEST(SplitCommandLine, Forms) {
  using Params = std::vector<std::string>;
  const std::pair<const char*, Params> cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"setup.exe /a /b", {"setup.exe", "/a", "/b"}},
      {"\"C:\\Program Files\\setup.exe\"  /dir=\"C:\\My App\" x",
       {"C:\\Program Files\\setup.exe", "/dir=C:\\My App", "x"}},
      {"a \"\" \"\"b c", {"a", "b", "c"}},  // empty quote pairs before a parameter vanish
      {"a \"unterminated b", {"a", "unterminated b"}},
      {"a\tb\nc", {"a", "b", "c"}},
      {"\xE9t\xE9 x", {"\xE9t\xE9", "x"}},
  };
  for (const auto& [line, params] : cases)
    EXPECT_EQ(SplitCommandLine(line), params) << line;
}

TEST(CommandLineParameter, ByIndex) {
  const char* line = "setup.exe /a /b";
  EXPECT_EQ(CommandLineParameter(line, "C:\\dl\\setup.exe", 0), "C:\\dl\\setup.exe");
  EXPECT_EQ(CommandLineParameter(line, "C:\\dl\\setup.exe", 1), "/a");
  EXPECT_EQ(CommandLineParameter(line, "C:\\dl\\setup.exe", 2), "/b");
  EXPECT_EQ(CommandLineParameter(line, "C:\\dl\\setup.exe", 3), "");
  EXPECT_EQ(CommandLineParameter(line, "C:\\dl\\setup.exe", -1), "");
}

}  // namespace
}  // namespace kvb
