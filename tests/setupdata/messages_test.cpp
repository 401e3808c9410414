#include "setupdata/messages.h"

#include <gtest/gtest.h>

#include "setupdata/default_messages.h"

namespace kvb {
namespace {

TSetupLanguage Language(const std::string& name, uint8_t flag) {
  TSetupLanguage language{name, 0, flag, {}};
  language.Messages.Texts[3] = name + " no";
  return language;
}

struct FallbackCase {
  std::vector<std::pair<std::string, uint8_t>> languages;
  std::string current;
  std::string expected;      // text of message 3
  std::string default_name;  // what %Language% becomes after reading
};

TEST(MessagesTest, TableOfTheCurrentLanguageWithFallbacks) {
  const FallbackCase cases[] = {
      {{}, "", "none no", ""},
      {{}, "English", "none no", ""},
      {{{"English", 0}, {"Deutsch", 0}}, "deutsch", "Deutsch no", ""},
      {{{"English", 0}, {"Deutsch", 0}}, "Klingon", "English no", ""},
      {{{"English", 0}, {"Deutsch", 1}}, "", "Deutsch no", "Deutsch"},
      {{{"English", 1}, {"Deutsch", 1}}, "Klingon", "English no", "Deutsch"},
      {{{"English", 1}, {"Deutsch", 1}}, "ENGLISH", "English no", "Deutsch"},
      {{{"English", 0}, {"English", 0}}, "English", "English no", ""},
  };
  for (const FallbackCase& c : cases) {
    TSetupData data;
    data.LanguageLessMessages.Texts[3] = "none no";
    for (const auto& [name, flag] : c.languages)
      data.Languages.push_back(Language(name, flag));
    if (c.languages.size() == 2 && c.languages[0].first == c.languages[1].first) {
      data.Languages[1].Messages.Texts[3] = "second";
    }
    EXPECT_EQ(GetMessageText(data, 3, c.current), c.expected) << c.current;
    EXPECT_EQ(DefaultLanguageName(data), c.default_name);
    EXPECT_EQ(GetMessageText(data, -1, c.current), "");
    EXPECT_EQ(GetMessageText(data, kMessageCount, c.current), "");
  }
}

TEST(MessagesTest, DefaultEnglishTexts) {
  const TSetupMessage table = DefaultMessages(1033);
  EXPECT_EQ(table.LanguageId, 1033);
  for (const std::string& text : table.Texts)
    EXPECT_FALSE(text.empty());
  EXPECT_EQ(table.Texts[0], "OK");
  EXPECT_EQ(table.Texts[36], "%SoftwareName% Uninstaller");
  EXPECT_EQ(table.Texts[53], "%CompanyName% %SoftwareName% Setup is starting, please wait...");
  EXPECT_EQ(table.Texts[61], "Connecting to Windows CE device...");
  EXPECT_EQ(table.Texts[68], "Destination File");
  EXPECT_NE(table.Texts[8].find("ActiveSync"), std::string::npos);
  EXPECT_NE(table.Texts[64].find("HotSync"), std::string::npos);
}

}  // namespace
}  // namespace kvb
