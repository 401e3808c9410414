#include <gtest/gtest.h>

#include <random>

#include "vars/literal_replace.h"
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
      {"%A%%A%", "%A%", "A%", "AA%"},
      // ... and one formed with the text behind it.
      {"abb", "ab", "a", "a"},
      {"%A%A%", "%A%", "%", "%"},
      {"xx%A%%", "%A%", "%A", "xx%A"},
      // A value holding its own reference is inserted once per original occurrence.
      {"%A%", "%A%", "[%A%]", "[%A%]"},
      {"%a%-%A%", "%A%", "<%A%%A%>", "<%A%%A%>-<%A%%A%>"},
      // Shrinking values may take many rounds.
      {"aaaaab", "ab", "b", "b"},
      {"AAAbBB", "ab", "", ""},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(ReplaceAllText(c.text, c.old_text, c.new_text), c.expected)
        << c.text << " / " << c.old_text << " / " << c.new_text;
  }
}

// Random texts over a small alphabet, where occurrences overlap and form with inserted
// values all the time: wherever replacing the first occurrence again and again ends,
// ReplaceAllText gives the same text.
TEST(ReplaceAllText, AgreesWithTheLiteralReplacementWhereverThatEnds) {
  std::mt19937 random(20261207);
  auto text = [&](size_t max_length) {
    static constexpr char kAlphabet[] = "aAb%";
    std::string out(random() % (max_length + 1), ' ');
    for (char& c : out)
      c = kAlphabet[random() % 4];
    return out;
  };
  int compared = 0;
  int several_rounds = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::string t = text(12);
    const std::string old_text = text(3);
    const std::string new_text = text(5);
    const std::optional<std::string> literal = test::LiteralReplace(t, old_text, new_text, 200);
    if (!literal)
      continue;
    ++compared;
    if (!test::LiteralReplace(t, old_text, new_text, 1))
      ++several_rounds;
    ASSERT_EQ(ReplaceAllText(t, old_text, new_text), *literal)
        << "\"" << t << "\" / \"" << old_text << "\" / \"" << new_text << "\"";
  }
  EXPECT_GT(compared, 15000);
  EXPECT_GT(several_rounds, 1000);
}

TEST(ReplaceAllText, StopsGrowingAtTheLimit) {
  // Ten occurrences of a five-character value: the limit of 30 admits six, and a
  // shrinking replacement is always made.
  bool limit = false;
  EXPECT_EQ(ReplaceAllText("xxxxxxxxxx", "x", "yyyyy", 30, &limit),
            "yyyyyyyyyyyyyyyyyyyyyyyyyxxxxx");
  EXPECT_TRUE(limit);
  EXPECT_EQ(ReplaceAllText("%A%%A%%A%", "%A%", "12345", 14), "1234512345%A%");
  EXPECT_EQ(ReplaceAllText("%A%%A%%A%", "%A%", "1", 2, &limit), "111");
  EXPECT_FALSE(limit);
  // Values that keep forming new occurrences with the text before them never end by
  // themselves: "aab" gives "abbaa", "bbaabaa", "bbabbaaaa" ... up to the limit.
  EXPECT_EQ(ReplaceAllText("aab", "ab", "bbaa", 5), "abbaa");
  EXPECT_EQ(ReplaceAllText("aab", "ab", "bbaa", 9, &limit), "bbabbaaaa");
  EXPECT_TRUE(limit);
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
