#include "setupdata/dialog_io.h"

#include <gtest/gtest.h>

#include "stream_builder.h"

namespace kvb {
namespace {

TEST(DialogIoTest, EachKindStoresItsStringsAndAScript) {
  const std::pair<uint8_t, int> kinds[] = {{0, 0},  {1, 3},  {2, 4},  {3, 5},  {4, 6},  {5, 5},
                                           {6, 6},  {7, 6},  {8, 4},  {9, 1},  {10, 0}, {11, 3},
                                           {12, 0}, {13, 2}, {14, 0}, {15, 0}, {255, 0}};
  for (const auto& [kind, strings] : kinds) {
    Stream s;
    s.B(kind).Z("%V%").B(0).Ds({1, 2, 3, 4});
    TSetupControl expected{kind, "%V%", 0, 1, 2, 3, 4, {}, TScript{0, {}}};
    for (int i = 0; i < strings; ++i) {
      expected.Strings[i] = "s" + std::to_string(i + 1);
      s.Z(expected.Strings[i]);
    }
    s.D(0).B(0x42);  // the control's script, then what follows the record
    MemorySource source(s.str());
    ByteReader in(source);
    EXPECT_EQ(ReadControl(in), expected) << int(kind);
    EXPECT_EQ(in.U8(), 0x42) << int(kind);
    ByteWriter out;
    WriteControl(out, expected);
    EXPECT_EQ(out.Data() + '\x42', s.str());
  }
}

TEST(DialogIoTest, DialogLayoutWithSignedCoordinatesAndCutTexts) {
  const std::string long_text(1200, 'N');
  Stream s;
  s.Z(long_text).Z("Title").Ds({uint32_t(-20), 300}).Font("Arial", 9, 0x80000008, 1, 1);
  s.B(2).Z("STYLE").D(1);
  s.B(9).Z("%B%").B(8).Ds({uint32_t(-5), uint32_t(-6), 7, 8}).Z(long_text).D(uint32_t(-1));
  s.Ds({0, uint32_t(-1), 0, 1, 50, 2}).Raw(ScrambleText("go"));
  MemorySource source(s.str());
  ByteReader in(source);
  const TSetupDialog d = ReadDialog(in);
  EXPECT_EQ(in.Remaining(), 0u);
  const std::string cut(1000, 'N');
  TSetupControl button{9, "%B%", 8, -5, -6, 7, 8, {cut}, TScript{-1, {}}};
  TSetupDialog expected{cut, "Title", -20,      300, {"Arial", 9, 0x80000008, 1, 1},
                        2,   "STYLE", {button}, {}};
  expected.Scripts = {TScript{0, {}}, TScript{-1, {}}, TScript{0, {}},
                      TScript{1, {TScriptStatement{50, {}, "go"}}}};
  EXPECT_EQ(d, expected);
}

TEST(DialogIoTest, ImpossibleControlCountIsDamage) {
  Stream s;
  s.Zs({"D", ""}).Ds({1, 1}).Font("", 0, 0, 0, 0).B(0).Z("").D(0xFFFFFFFF).Raw(std::string(99, 0));
  MemorySource source(s.str());
  ByteReader in(source);
  EXPECT_THROW(ReadDialog(in), FormatError);
}

}  // namespace
}  // namespace kvb
