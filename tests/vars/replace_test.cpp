#include <gtest/gtest.h>

#include "vars/variables.h"

namespace kvb {
namespace {

TEST(MakeVariableName, AddsMissingDelimiters) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},       {"A", "%A%"}, {"%A", "%A%"}, {"A%", "%A%"},
      {"%A%", "%A%"}, {"%", "%"},   {"%%", "%%"},  {"a b", "%a b%"},
  };
  for (const auto& [in, out] : cases)
    EXPECT_EQ(MakeVariableName(in), out) << in;
}

TEST(ReadOnlyVariable, ComputedNamesOnly) {
  for (const char* name : {"%IsAdmin%", "%date%", "%SETUPCOMPONENTS%", "%CmdLineParam%",
                           "%ActiveSyncVersion%", "%RAMMemory%"}) {
    EXPECT_TRUE(IsReadOnlyVariable(name)) << name;
  }
  for (const char* name :
       {"%InstallDir%", "%CmdParamNum%", "IsAdmin", "%WinDir%", "", "%SetupType%", "%IsAdmin"}) {
    EXPECT_FALSE(IsReadOnlyVariable(name)) << name;
  }
}

struct ReplaceCase {
  const char* text;
  const char* old_text;
  const char* new_text;
  const char* expected;
};

TEST(ReplaceAllText, Cases) {
  const ReplaceCase cases[] = {
      {"", "%A%", "x", ""},
      {"abc", "", "x", "abc"},
      {"a%a%b%A%c", "%A%", "1", "a1b1c"},  // case-insensitive
      {"%A%%A%", "%A%", "", ""},
      {"no match", "%A%", "x", "no match"},
      // An occurrence formed by the value with the text before it is replaced.
      {"aab", "ab", "b", "b"},
      {"%%A%", "%A%", "A%", "A%"},
      // ... and one formed with the text behind it.
      {"abb", "ab", "a", "a"},
      {"%A%A%", "%A%", "%", "%"},
      {"xx%A%%", "%A%", "%A", "xx%A"},
      // A value holding its own reference is inserted once per original occurrence.
      {"%A%", "%A%", "[%A%]", "[%A%]"},
      {"%a%-%A%", "%A%", "<%A%%A%>", "<%A%%A%>-<%A%%A%>"},
      // Values that keep forming new occurrences with each other end too.
      {"aab", "ab", "bbaa", "bbaabaa"},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(ReplaceAllText(c.text, c.old_text, c.new_text), c.expected)
        << c.text << " / " << c.old_text << " / " << c.new_text;
  }
}

TEST(ReplaceAllText, StopsGrowingAtTheLimit) {
  const std::string text(1000, 'x');
  const std::string value(kMaxExpandedLength / 100, 'y');
  const std::string result = ReplaceAllText(text, "x", value);
  EXPECT_LE(result.size(), kMaxExpandedLength);
  EXPECT_GT(result.size(), kMaxExpandedLength - value.size());
  EXPECT_EQ(result.back(), 'x');  // the occurrences behind the limit stay as they were
}

}  // namespace
}  // namespace kvb
