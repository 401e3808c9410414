#include "tools/driver/step.h"

#include <gtest/gtest.h>

namespace kvb::driver {
namespace {

using Options = std::vector<std::pair<std::string, std::string>>;

TEST(DriverStepTest, SplitsWordsAndOptions) {
  struct Case {
    const char* line;
    const char* verb;
    std::vector<std::string> words;
    Options options;
  };
  const Case cases[] = {
      {"click OK", "click", {"OK"}, {}},
      {"  click\t\"&Next >\"  ", "click", {"&Next >"}, {}},
      {"wait-window title=\"Kalvenbrooker Setup\" class=#32770 timeout=500",
       "wait-window",
       {},
       {{"title", "Kalvenbrooker Setup"}, {"class", "#32770"}, {"timeout", "500"}}},
      {"wait-window title~=Setup", "wait-window", {}, {{"title~", "Setup"}}},
      {"type \"a=b\" id=0x3E9", "type", {"a=b"}, {{"id", "0x3E9"}}},
      {"type Name=x after=Name:", "type", {"Name=x"}, {{"after", "Name:"}}},
      {"type \"\" id=5", "type", {""}, {{"id", "5"}}},
      {"echo say \"\\\"hi\\\" \\\\ there\"", "echo", {"say", "\"hi\" \\ there"}, {}},
      {"start Z:\\tmp\\setup.exe /S x", "start", {"Z:\\tmp\\setup.exe", "/S", "x"}, {}},
      {"expect-text \"ERROR: a, b.\" id=65535\r",
       "expect-text",
       {"ERROR: a, b."},
       {{"id", "65535"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::optional<Step> step = ParseStep(c.line, 1);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->verb, c.verb);
    EXPECT_EQ(step->words, c.words);
    EXPECT_EQ(step->options, c.options);
  }
}

TEST(DriverStepTest, RejectsWhatCannotRun) {
  for (const char* line : {
           "frobnicate",         // unknown verb
           "click OK Cancel",    // too many words
           "type",               // missing text
           "wait-exit code",     // a word where none is allowed
           "wait-gone title=x",  // option of another verb
           "click \"OK",         // unbalanced quotes
           "title=x click",      // no verb first
           "\"\" click",         // empty verb
       }) {
    SCOPED_TRACE(line);
    EXPECT_THROW(ParseStep(line, 1), StepError);
  }
}

TEST(DriverStepTest, ScriptSkipsBlanksAndCommentsAndNamesTheLine) {
  const std::vector<Step> steps =
      ParseScript("# drive it\n\nstart a.exe\r\n  # note\nwait-exit code=3\n");
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].line, 3);
  EXPECT_EQ(steps[1].line, 5);
  EXPECT_EQ(*steps[1].Option("code"), "3");
  try {
    ParseScript("start a.exe\nwait-exit\nbogus\n");
    FAIL();
  } catch (const StepError& error) {
    EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos);
  }
}

TEST(DriverStepTest, Numbers) {
  const Step step;
  EXPECT_EQ(ParseNumber("0", step), 0);
  EXPECT_EQ(ParseNumber("65535", step), 65535);
  EXPECT_EQ(ParseNumber("0xFFFF", step), 65535);
  EXPECT_EQ(ParseNumber("0x1f", step), 31);
  for (const char* bad : {"", "-1", "12a", "0x", "0xg", "1234567890123"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(ParseNumber(bad, step), StepError);
  }
}

TEST(DriverStepTest, Selector) {
  const Step step = *ParseStep("type x id=7 class=Edit after=Name: index=2", 1);
  const ControlSelector s = SelectorOf(step, nullptr);
  EXPECT_EQ(s.id, 7);
  EXPECT_EQ(s.class_name, "Edit");
  EXPECT_EQ(s.after, "Name:");
  EXPECT_FALSE(s.text);
  EXPECT_EQ(s.index, 2);
  const std::string caption = "OK";
  EXPECT_EQ(SelectorOf(*ParseStep("click text=No", 1), &caption).text, "OK");
  EXPECT_THROW(SelectorOf(*ParseStep("click OK index=0", 1), nullptr), StepError);
}

TEST(DriverStepTest, CaptionsMatchWithOrWithoutMnemonics) {
  EXPECT_TRUE(CaptionMatches("&Next >", "Next >"));
  EXPECT_TRUE(CaptionMatches("&Next >", "&Next >"));
  EXPECT_TRUE(CaptionMatches("Save && E&xit", "Save & Exit"));
  EXPECT_FALSE(CaptionMatches("&Next >", "next >"));
  EXPECT_FALSE(CaptionMatches("OK", "OK "));
  EXPECT_EQ(StripMnemonic("a&&b&c&"), "a&bc");
}

TEST(DriverStepTest, QuotedOutput) {
  EXPECT_EQ(QuoteText("a \"b\" \\ c\r\n\t"), "\"a \\\"b\\\" \\\\ c\\r\\n\\t\"");
}

}  // namespace
}  // namespace kvb::driver
