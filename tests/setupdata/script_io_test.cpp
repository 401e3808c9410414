#include "setupdata/script_io.h"

#include <gtest/gtest.h>

#include "sample_package.h"

namespace kvb {
namespace {

TScript ReadFrom(const std::string& bytes, TextForm form, uint64_t* left = nullptr) {
  MemorySource source(bytes);
  ByteReader in(source);
  TScript script = ReadScript(in, form);
  if (left)
    *left = in.Remaining();
  return script;
}

std::string Written(const TScript& script, TextForm form) {
  ByteWriter out;
  WriteScript(out, script, form);
  return out.Take();
}

TEST(ScriptIoTest, ScramblingRestartsTheKeyForEveryText) {
  ByteWriter out;
  WriteScriptText(out, "ab", TextForm::kScrambled);
  WriteScriptText(out, "abcdefghijkl", TextForm::kScrambled);
  std::string expected("\x02\0\0\0", 4);
  expected += {'a' ^ 'l', 'b' ^ 'q'};
  expected += std::string("\x0C\0\0\0", 4);
  const std::string key = "lqm-harborlq";
  for (size_t i = 0; i < key.size(); ++i)
    expected += static_cast<char>("abcdefghijkl"[i] ^ key[i]);
  EXPECT_EQ(out.Data(), expected);
}

// Each code stores the arguments of its low byte (128 and above: of the low byte minus
// 128); the full 32-bit code survives.
TEST(ScriptIoTest, ArgumentCountsFollowTheLowByteOfTheCode) {
  const std::pair<uint32_t, int> cases[] = {
      {1, 3},
      {0, 5},
      {11, 5},
      {2, 4},
      {30, 1},
      {112, 2},
      {113, 0},
      {127, 0},
      {128, 5},
      {0x181, 3},
      {0x12345600 | 200, 2},
      {255, 0},
      {0xFFFFFF8B, 5},
  };
  for (TextForm form : {TextForm::kPlain, TextForm::kScrambled}) {
    for (const auto& [code, args] : cases) {
      TScriptStatement st{code, {"1", "2", "3", "4", "5"}, "g"};
      const std::string bytes = Written(TScript{1, {st}}, form);
      const size_t text_size = form == TextForm::kPlain ? 2 : 5;  // "n" + zero, or length + "n"
      EXPECT_EQ(bytes.size(), 4 + 4 + (args + 1) * text_size) << code;
      uint64_t left = 1;
      const TScript read = ReadFrom(bytes, form, &left);
      EXPECT_EQ(left, 0u);
      ASSERT_EQ(read.Statements.size(), 1u);
      EXPECT_EQ(read.Statements[0].Code, code);
      EXPECT_EQ(read.Statements[0].Guard, "g");
      for (int a = 0; a < 5; ++a) {
        EXPECT_EQ(read.Statements[0].Args[a], a < args ? std::to_string(a + 1) : "") << code;
      }
    }
  }
}

TEST(ScriptIoTest, NegativeCountsAreAbsentScriptsAndKept) {
  for (int32_t count : {-1, -5, INT32_MIN, 0}) {
    for (TextForm form : {TextForm::kPlain, TextForm::kScrambled}) {
      ByteWriter w;
      w.I32(count);
      w.U8(0x42);  // what follows the script is not consumed
      uint64_t left = 0;
      const TScript script = ReadFrom(w.Data(), form, &left);
      EXPECT_EQ(script.Count, count);
      EXPECT_TRUE(script.Statements.empty());
      EXPECT_EQ(left, 1u);
      EXPECT_EQ(Written(script, form), w.Data().substr(0, 4));
    }
  }
}

TEST(ScriptIoTest, WrittenCountFollowsTheStatements) {
  TScript stale{-1, {TScriptStatement{50, {}, ""}}};
  EXPECT_EQ(ReadFrom(Written(stale, TextForm::kPlain), TextForm::kPlain).Count, 1);
  TScript empty{7, {}};
  EXPECT_EQ(ReadFrom(Written(empty, TextForm::kPlain), TextForm::kPlain).Count, 0);
}

TEST(ScriptIoTest, TextsAreCutToTheFixedLength) {
  const std::string long_text(5000, 'x');
  for (TextForm form : {TextForm::kPlain, TextForm::kScrambled}) {
    TScript script{1, {TScriptStatement{31, {long_text}, long_text + "y"}}};
    ByteWriter w;
    WriteScript(w, script, form);
    w.U8(0x42);
    uint64_t left = 0;
    const TScript read = ReadFrom(w.Data(), form, &left);
    EXPECT_EQ(left, 1u);
    EXPECT_EQ(read.Statements[0].Args[0], std::string(1000, 'x'));
    EXPECT_EQ(read.Statements[0].Guard, std::string(1000, 'x'));
  }
}

TEST(ScriptIoTest, ScrambledTextEndsAtItsFirstZero) {
  ByteWriter w;
  w.I32(1);
  w.U32(50);  // EXIT: no arguments
  WriteScriptText(w, std::string("ab\0cd", 5), TextForm::kScrambled);
  EXPECT_EQ(ReadFrom(w.Data(), TextForm::kScrambled).Statements[0].Guard, "ab");
}

TEST(ScriptIoTest, ImpossibleCountsAndLengthsAreDamage) {
  ByteWriter count;
  count.I32(0x7FFFFFFF);
  count.Bytes(std::string(64, '\0'));
  EXPECT_THROW(ReadFrom(count.Data(), TextForm::kScrambled), FormatError);
  EXPECT_THROW(ReadFrom(count.Data(), TextForm::kPlain), FormatError);

  ByteWriter length;
  length.I32(1);
  length.U32(50);
  length.U32(0xFFFFFFF0);
  length.Bytes("abc");
  EXPECT_THROW(ReadFrom(length.Data(), TextForm::kScrambled), FormatError);
}

TEST(ScriptIoTest, SampleScriptsSurviveBothForms) {
  const TSetupData data = sample::SampleData();
  for (TextForm form : {TextForm::kPlain, TextForm::kScrambled}) {
    for (const TScript& script : data.Scripts) {
      const std::string bytes = Written(script, form);
      const TScript read = ReadFrom(bytes, form);
      EXPECT_EQ(read, script);
      EXPECT_EQ(Written(read, form), bytes);
    }
  }
}

}  // namespace
}  // namespace kvb
