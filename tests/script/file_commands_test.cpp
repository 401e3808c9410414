// The open text file on real temporary files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "script_fakes.h"

namespace kvb {
namespace {

class FileCommandsTest : public ::testing::Test {
 protected:
  FileCommandsTest()
      : folder_(std::filesystem::temp_directory_path() /
                ("kvb_script_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name())),
        h_(false, (std::filesystem::create_directories(folder_), folder_.string())) {}
  ~FileCommandsTest() override {
    h_.Execute({{"FILECLOSE"}});  // Windows removes no open file
    std::filesystem::remove_all(folder_);
  }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }
  std::string Contents(const std::string& name) {
    std::ifstream in(folder_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path folder_;
  ScriptHarness h_;
};

TEST_F(FileCommandsTest, OpenWithMagicNumbers) {
  Write("magic.bin", std::string("\xD2\x04\x00\x00rest", 8));  // 1234 little-endian
  Write("empty.txt", "");
  struct Case {
    const char* file;
    const char* magic;
    const char* expected;
  } cases[] = {
      {"new.txt", "0", "OK"},
      {"empty.txt", "1234", "MAGICERROR"},
      {"magic.bin", "1234", "OK"},
      {"magic.bin", "1235", "MAGICERROR"},
      {"missing/dir/x.txt", "0", "ERROR"},
  };
  for (const Case& c : cases) {
    h_.Execute({{"FILEOPEN", {"%R%", c.file, c.magic}}});
    EXPECT_EQ(h_.Value("%R%"), c.expected) << c.file << " " << c.magic;
    h_.Execute({{"FILECLOSE"}});
  }
  EXPECT_TRUE(std::filesystem::exists(folder_ / "new.txt"));
  // After a matching magic number, reading starts behind it.
  h_.Execute({{"FILEOPEN", {"%R%", "magic.bin", "1234"}}, {"FILEREAD", {"%D%", "10"}}});
  EXPECT_EQ(h_.Value("%D%"), "rest");
}

TEST_F(FileCommandsTest, SecondOpenFailsAndTheFileStaysOpenAcrossScripts) {
  h_.Execute({{"FILEOPEN", {"%R%", "a.txt", "0"}}});
  h_.Execute({{"FILEOPEN", {"%R2%", "b.txt", "0"}}, {"FILEWRITE", {"one"}}});
  EXPECT_EQ(h_.Value("%R2%"), "ERROR");
  h_.Execute({{"FILECLOSE"}});
  EXPECT_EQ(Contents("a.txt"), "one");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "b.txt"));
}

TEST_F(FileCommandsTest, WriteLinesAndReadThemBack) {
  Write("log.txt", "old\r\n");
  h_.vars.SetVariable("%Who%", "me");
  h_.Execute({{"FILEOPEN", {"%R%", "log.txt", "0"}},
              {"FILEWRITELINE", {"by %Who%"}},
              {"FILEWRITE", {"end"}},
              {"FILEREADLINE", {"%L%"}},
              {"FILECLOSE"}});
  EXPECT_EQ(Contents("log.txt"), "old\r\nby me\r\nend");
  // Writing moves the position to the end.
  EXPECT_EQ(h_.Value("%L%"), "EOF");
}

TEST_F(FileCommandsTest, ReadLineRules) {
  Write("lines.txt", "ab\r\ncd\rx\ny\r\r\nlast");
  h_.Execute({{"FILEOPEN", {"%R%", "lines.txt", "0"}}});
  const char* expected[] = {"ab", "cd", "x\ny", "", "last", "EOF", "EOF"};
  for (const char* line : expected) {
    h_.Execute({{"FILEREADLINE", {"%L%"}}});
    EXPECT_EQ(h_.Value("%L%"), line);
  }
}

TEST_F(FileCommandsTest, ReadLineAcrossLongLines) {
  const std::string longer(1500, 'z');
  Write("long.txt", longer + "\r" + std::string(511, 'y') + "\r\nq");
  h_.Execute({{"FILEOPEN", {"%R%", "long.txt", "0"}},
              {"FILEREADLINE", {"%A%"}},
              {"FILEREADLINE", {"%B%"}},
              {"FILEREADLINE", {"%C%"}}});
  EXPECT_EQ(h_.Value("%A%"), longer);
  EXPECT_EQ(h_.Value("%B%"), std::string(511, 'y'));  // its LF starts the next block
  EXPECT_EQ(h_.Value("%C%"), "q");
}

TEST_F(FileCommandsTest, ReadCounts) {
  Write("data.txt", "abcdef");
  h_.Execute({{"FILEOPEN", {"%R%", "data.txt", "0"}}});
  const std::pair<const char*, const char*> reads[] = {
      {"2", "ab"}, {"0", ""}, {"-4", ""}, {"100", "cdef"}, {"1", "EOF"}};
  for (const auto& [count, expected] : reads) {
    h_.Execute({{"FILEREAD", {"%D%", count}}});
    EXPECT_EQ(h_.Value("%D%"), expected) << count;
  }
}

TEST_F(FileCommandsTest, CommandsWithoutAnOpenFileSetErrorCode) {
  for (const char* command :
       {"FILEWRITE", "FILEWRITELINE", "FILEREAD", "FILEREADLINE", "FILECLOSE"}) {
    ScriptHarness h(false, folder_.string());
    h.vars.SetVariable("%ErrorCode%", "0");
    h.vars.SetVariable("%D%", "kept");
    h.Execute({{command, {"%D%", "1"}}});
    EXPECT_EQ(h.Value("%ErrorCode%"), "1") << command;
    EXPECT_EQ(h.Value("%D%"), "kept") << command;
  }
  // Closing an open file is no error; closing it again is.
  h_.vars.SetVariable("%ErrorCode%", "0");
  h_.Execute({{"FILEOPEN", {"%R%", "a.txt", "0"}}, {"FILECLOSE"}});
  EXPECT_EQ(h_.Value("%ErrorCode%"), "0");
  h_.Execute({{"FILEWRITE", {"x"}}, {"FILECLOSE"}});
  EXPECT_EQ(h_.Value("%ErrorCode%"), "1");
  EXPECT_EQ(Contents("a.txt"), "");
}

}  // namespace
}  // namespace kvb
