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
  // Ten occurrences of a five-character value: the limit of 30 admits six, and a
  // shrinking replacement is always made.
  EXPECT_EQ(ReplaceAllText("xxxxxxxxxx", "x", "yyyyy", 30), "yyyyyyyyyyyyyyyyyyyyyyyyyxxxxx");
  EXPECT_EQ(ReplaceAllText("%A%%A%%A%", "%A%", "12345", 14), "1234512345%A%");
  EXPECT_EQ(ReplaceAllText("%A%%A%%A%", "%A%", "1", 2), "111");
  // Also when the growing occurrence is one formed with the inserted text.
  EXPECT_EQ(ReplaceAllText("aab", "ab", "bbaa", 5), "abbaa");
}

TEST(ReplaceAllText, LimitGuardsExpansionOfValuesThatDoubleEachOther) {
  Variables vars;
  vars.MaxExpandedLength = 4096;
  std::string text;
  for (int i = 0; i < 30; ++i) {
    const std::string next = "%V" + std::to_string(i + 1) + "%";
    vars.List().SetValue("%V" + std::to_string(i) + "%", next + next);
    text += "%V" + std::to_string(i) + "%";
  }
  const std::string result = vars.ExpandText(text);
  EXPECT_LE(result.size(), 4096u);
  EXPECT_GT(result.size(), 2048u);
}

}  // namespace
}  // namespace kvb
