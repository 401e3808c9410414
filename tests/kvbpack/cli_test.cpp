// The command line: exit codes, messages, and what build, dump and info print.
#include <gtest/gtest.h>

#include "cli.h"
#include "pack_test_util.h"

namespace kvb::pack {
namespace {

using test::Scratch;

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun Kvbpack(std::vector<std::string> args) {
  args.insert(args.begin(), "kvbpack");
  std::vector<char*> argv;
  for (std::string& a : args)
    argv.push_back(a.data());
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int code = RunCommandLine(static_cast<int>(argv.size()), argv.data());
  return {code, testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr()};
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(CliTest, BuildDumpAndInfo) {
  Scratch dir;
  test::WriteFile(dir / "stub.exe", "MZ stub");
  test::WriteFile(dir / "kvbuninst.exe", "MZ found beside the stub");
  const std::string sample = std::string(KVB_SOURCE_DIR) + "/examples/sample/sample.toml";
  CliRun r =
      Kvbpack({"build", sample, "-o", dir / "Setup.exe", "--stub", dir / "stub.exe", "-j", "1"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "Setup.exe: ")) << r.out;

  r = Kvbpack({"info", dir / "Setup.exe"});
  ASSERT_EQ(r.code, 0) << r.err;
  for (const char* part :
       {"16  main archive", "High-Tech Normal (style, 480 x 330, 6 controls)",
        "Welcome (page, 480 x 330, 4 controls, style High-Tech Normal)",
        "English (1033, default) Deutsch (1031)", "component Documentation: 2 entries",
        "    IF when \"%ShowReadme% = 1|%SETUPCOMPONENTS% = Documentation|\"\n"
        "      OPEN \"%InstallDir%\\Docs\\readme.txt\"\n    ENDIF\n"}) {
    EXPECT_TRUE(Has(r.out, part)) << part << "\n" << r.out;
  }

  r = Kvbpack({"dump", dir / "Setup.exe", "-o", dir / "dump"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string project = test::ReadFile(dir / "dump/project.toml");
  EXPECT_TRUE(Has(project, "[uninstall]\nprogram = \"files/KVBUNINST.DAT\"\n")) << project;
  EXPECT_EQ(test::ReadFile(dir / "dump/files/KVBUNINST.DAT"), "MZ found beside the stub");
  EXPECT_FALSE(Has(project, "KVBUNINST.DAT\"\n\n[[file]]"));
  EXPECT_TRUE(Has(project, "[[platform]]\nname = \"WCENET\"\n"));
}

TEST(CliTest, MistakesGiveExitCodesAndMessages) {
  Scratch dir;
  test::WriteFile(dir / "bad.toml", "[software]\nname = 1\n");
  test::WriteFile(dir / "junk.exe", std::string(100, 'x'));
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string message;
  } cases[] = {
      {{}, 2, "A subcommand is required"},
      {{"build", dir / "bad.toml"}, 2, "--output is required"},
      {{"build", dir / "bad.toml", "-o", dir / "o.exe"},
       1,
       dir / "bad.toml" + ":2:8: name must be a string"},
      {{"build", dir / "bad.toml", "-o", dir / "o.exe", "--volume-size", "big"},
       2,
       "--volume-size must be"},
      {{"build", dir / "missing.toml", "-o", dir / "o.exe"}, 1, "cannot open the project file"},
      {{"info", dir / "missing.exe"}, 1, "kvbpack: cannot open"},
      {{"info", dir / "junk.exe"}, 1, "not a readable setup program"},
      {{"dump", dir / "junk.exe", "-o", dir / "d"}, 1, "not a readable setup program"},
      {{"pack", "x"}, 2, ""},
  };
  for (const Case& c : cases) {
    const CliRun r = Kvbpack(c.args);
    EXPECT_EQ(r.code, c.code) << r.out << r.err;
    EXPECT_TRUE(Has(r.out + r.err, c.message)) << c.message << "\n" << r.out << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "o.exe"));
}

}  // namespace
}  // namespace kvb::pack
