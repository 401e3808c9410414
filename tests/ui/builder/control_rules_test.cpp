#include "ui/builder/control_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace kvb::test {
namespace {

TEST(ControlRulesTest, SuffixFollowsKindAndRole) {
  struct Case {
    uint8_t kind;
    uint8_t role;
    const char* suffix;
  };
  const Case cases[] = {
      {kKindLabel, 13, "_Label"},
      {kKindTextBox, 7, "_TextBox"},
      {kKindListBox, 0, "_ListBox"},
      {kKindListBox, 4, "_ListBox"},
      {kKindListBox, 1, "_License"},
      {kKindListBox, 10, "_License"},
      {kKindListBox, 12, "_NotDeleted"},
      {kKindListBox, 15, "_DirList"},
      {kKindListBox, 17, "_MemoList"},
      {kKindComboBox, 0, "_ComboBox"},
      {kKindComboBox, 16, "_DriveCombo"},
      {kKindImageButton, 8, "_ImageButton"},
      {kKindRadioButton, 0, "_RadioBox"},
      {kKindStyleSpace, 0, ""},
      {0, 0, ""},
      {15, 0, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(KindSuffix(c.kind, c.role), c.suffix) << int(c.kind) << "/" << int(c.role);
}

TEST(ControlRulesTest, NamesTakeTheSmallestFreeNumber) {
  std::set<std::string> taken;
  auto is_taken = [&](const std::string& name) { return taken.count(name) != 0; };
  const std::string first = UniqueControlName("Welcome_Label", is_taken);
  EXPECT_EQ(first, "PS_Welcome_Label1");
  taken.insert(first);
  EXPECT_EQ(UniqueControlName("Welcome_Label", is_taken), "PS_Welcome_Label2");
  taken.erase(first);
  taken.insert("PS_Welcome_Label2");
  EXPECT_EQ(UniqueControlName("Welcome_Label", is_taken), "PS_Welcome_Label1") << "gap refilled";
  EXPECT_EQ(UniqueControlName("X", [](const std::string&) { return true; }), "")
      << "all 30,000 taken";
}

TEST(ControlRulesTest, PageNamesLoseTheCharactersNamesCannotHold) {
  EXPECT_EQ(SanitizePageName("High-Tech Normal"), "High_Tech_Normal");
  EXPECT_EQ(SanitizePageName("a.b\\c/d:e*f?g\"h<i>j|k,l"), "a_b_c_d_e_f_g_h_i_j_k_l");
  EXPECT_EQ(SanitizePageName("Welcome"), "Welcome");
}

TEST(ControlRulesTest, NumbersAreReadLeniently) {
  EXPECT_EQ(LenientNumber("2"), 2);
  EXPECT_EQ(LenientNumber(" type 2 "), 2);
  EXPECT_EQ(LenientNumber("-2147483640"), -2147483640);
  EXPECT_EQ(LenientNumber(""), 0);
  EXPECT_EQ(LenientNumber("abc"), 0);
  EXPECT_EQ(LenientNumber("1-2"), 0) << "no number: read as 0";
  EXPECT_TRUE(FlagText("1"));
  EXPECT_FALSE(FlagText("01"));
  EXPECT_FALSE(FlagText("yes"));
}

TEST(ControlRulesTest, FontStringsNeedFiveFields) {
  const TFontRecord base{"Tahoma", 8, 0, 0, 1};
  const std::optional<TFontRecord> font = ParseFontString("Arial|10|-2147483640|3|0|", base);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->FaceName, "Arial");
  EXPECT_EQ(font->Size, 10u);
  EXPECT_EQ(font->Color, 0x80000008u);
  EXPECT_EQ(font->Style, 3);
  EXPECT_EQ(font->Charset, 0);
  for (const char* bad : {"", "Arial|8|0|0|", "Arial|8||0|1|", "Arial|8|0|0|1|2|", "|8|0|0|1|"})
    EXPECT_FALSE(ParseFontString(bad, base)) << bad;
}

TEST(ControlRulesTest, KeepDefaultFaceUnlessFaceAndSizeBothDiffer) {
  const TFontRecord system{"MS Sans Serif", 8, 0x80000008u, 0, 1};
  // Same size, other face: the system face stays; without the flag the string's face.
  EXPECT_EQ(ResolveControlFont(system, "Arial|8|-2147483640|0|1|", true).FaceName, "MS Sans Serif");
  EXPECT_EQ(ResolveControlFont(system, "Arial|8|-2147483640|0|1|", false).FaceName, "Arial");
  // Face and size both differ: the string's face even with the flag.
  const TFontRecord big = ResolveControlFont(system, "Arial|12|255|1|1|", true);
  EXPECT_EQ(big.FaceName, "Arial");
  EXPECT_EQ(big.Size, 12u);
  EXPECT_EQ(big.Color, 255u);
  EXPECT_EQ(big.Style, 1);
  // A broken string leaves the default font whole.
  EXPECT_EQ(ResolveControlFont(system, "Arial|12|", false), system);
}

TEST(ControlRulesTest, ItemsCountNonEmptyFieldsButKeepTheirPlaces) {
  EXPECT_EQ(ListItems("a||b"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(ListItems("a|b|c"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(ListItems("a|b|"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(ListItems("").empty());
  EXPECT_TRUE(ListItems("||").empty());
}

}  // namespace
}  // namespace kvb::test
