#include "setupdata/dialog_io.h"

#include <gtest/gtest.h>

#include "setupdata/record_io.h"

namespace kvb {
namespace {

TEST(DialogIoTest, EachKindStoresItsStringsAndAScript) {
  const std::pair<uint8_t, int> kinds[] = {{0, 0},  {1, 3},  {2, 4},  {3, 5},  {4, 6},  {5, 5},
                                           {6, 6},  {7, 6},  {8, 4},  {9, 1},  {10, 0}, {11, 3},
                                           {12, 0}, {13, 2}, {14, 0}, {15, 0}, {255, 0}};
  for (const auto& [kind, strings] : kinds) {
    TSetupControl c;
    c.Kind = kind;
    c.Variable = "%V%";
    c.Strings = {"s1", "s2", "s3", "s4", "s5", "s6"};
    c.Script = TScript{1, {TScriptStatement{50, {}, "g"}}};
    ByteWriter w;
    WriteControl(w, c);
    w.U8(0x42);
    const size_t script_size = 4 + 4 + 4 + 1;
    EXPECT_EQ(w.Size(), 1 + 4 + 1 + 16 + 3 * strings + script_size + 1) << int(kind);
    MemorySource source(w.Take());
    ByteReader in(source);
    const TSetupControl read = ReadControl(in);
    EXPECT_EQ(in.U8(), 0x42) << int(kind);
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(read.Strings[i], i < strings ? c.Strings[i] : "") << int(kind);
    }
    EXPECT_EQ(read.Script, c.Script) << int(kind);
  }
}

TEST(DialogIoTest, DialogLayoutWithSignedCoordinatesAndCutTexts) {
  const std::string long_name(1200, 'N');
  ByteWriter w;
  w.ZStr(long_name);
  w.ZStr("Title");
  w.I32(-20);
  w.I32(300);
  WriteFont(w, {"Arial", 9, 0x80000008, 1, 1});
  w.U8(2);
  w.ZStr("STYLE");
  w.U32(1);
  w.U8(9);  // image button: one string
  w.ZStr("%B%");
  w.U8(8);
  for (int32_t v : {-5, -6, 7, 8})
    w.I32(v);
  w.ZStr(std::string(1001, 'p'));
  w.I32(-1);  // the button's script is absent
  for (int32_t count : {0, -1, 0, 1})
    w.I32(count);
  w.U32(50);
  w.U32(2);
  w.Bytes(ScrambleText("go"));
  MemorySource source(w.Take());
  ByteReader in(source);
  const TSetupDialog d = ReadDialog(in);
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_EQ(d.Name, long_name.substr(0, 1000));
  EXPECT_EQ(d.Title, "Title");
  EXPECT_EQ(d.Height, -20);
  EXPECT_EQ(d.Width, 300);
  EXPECT_EQ(d.Font, (TFontRecord{"Arial", 9, 0x80000008, 1, 1}));
  EXPECT_EQ(d.Type, 2);
  EXPECT_EQ(d.Style, "STYLE");
  ASSERT_EQ(d.Controls.size(), 1u);
  const TSetupControl& c = d.Controls[0];
  EXPECT_EQ(c.Kind, 9);
  EXPECT_EQ(c.Variable, "%B%");
  EXPECT_EQ(c.Role, 8);
  EXPECT_EQ((std::array<int32_t, 4>{c.Left, c.Top, c.Height, c.Width}),
            (std::array<int32_t, 4>{-5, -6, 7, 8}));
  EXPECT_EQ(c.Strings[0], std::string(1000, 'p'));
  EXPECT_EQ(c.Script.Count, -1);
  EXPECT_EQ(d.Scripts[kBeforeScript].Count, 0);
  EXPECT_EQ(d.Scripts[kBuiltScript].Count, -1);
  EXPECT_EQ(d.Scripts[kShownScript].Count, 0);
  ASSERT_EQ(d.Scripts[kLeaveScript].Statements.size(), 1u);
  EXPECT_EQ(d.Scripts[kLeaveScript].Statements[0].Guard, "go");
}

TEST(DialogIoTest, ImpossibleControlCountIsDamage) {
  ByteWriter w;
  w.ZStr("D");
  w.ZStr("");
  w.I32(1);
  w.I32(1);
  WriteFont(w, {});
  w.U8(0);
  w.ZStr("");
  w.U32(0xFFFFFFFF);
  w.Bytes(std::string(100, '\0'));
  MemorySource source(w.Take());
  ByteReader in(source);
  EXPECT_THROW(ReadDialog(in), FormatError);
}

}  // namespace
}  // namespace kvb
