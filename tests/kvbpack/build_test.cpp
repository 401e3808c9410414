// What a build writes: archive placement, derived records, file dates, progress, and
// volume files whose splits a dump can reproduce.
#include <gtest/gtest.h>

#include "block_reader.h"
#include "build.h"
#include "pack_test_util.h"
#include "project_reader.h"
#include "setupdata/archive_format.h"
#include "setupdata/package_reader.h"
#include "volume_fit.h"

namespace kvb::pack {
namespace {

using test::Scratch;

struct Built {
  TSetupPackage pkg;
  std::string bytes;
};

Built BuildText(const Scratch& dir, const std::string& text, BuildOptions options = {}) {
  test::WriteFile(dir / "p.toml", text);
  test::WriteFile(dir / "stub.exe", "MZ stub");
  if (options.output.empty())
    options.output = dir / "Setup.exe";
  options.stub = dir / "stub.exe";
  BuildPackage(ReadProject(dir / "p.toml"), options);
  Built b;
  b.bytes = test::ReadFile(options.output);
  MemorySource source(b.bytes);
  b.pkg = ReadPackage(source);
  return b;
}

BlockContents Block(const Built& b, uint64_t offset) {
  MemorySource source(b.bytes);
  return ReadBlock(source, offset, "", "");
}

TEST(BuildTest, ArchivesHoldTheFilesWhereTheRecordsSay) {
  Scratch dir;
  test::WriteFile(dir / "a", "aaa");
  test::WriteFile(dir / "b", test::Noise(70000, 1));
  test::WriteFile(dir / "t", "temp");
  test::WriteFile(dir / "u.exe", "uninstaller");
  const Built b = BuildText(dir, R"(
[uninstall]
program = "u.exe"
[[component]]
name = "Docs"
[[component]]
name = "Nothing"
[[temp-file]]
source = "t"
[[file]]
source = "a"
dest-dir = '%InstallDir%\x\y\'
entry = 5
[[file]]
source = "b"
components = "Docs"
version = "1.2.3.4"
[[file]]
source = "a"
name = "again"
entry = 5
[[shortcut]]
name = "S"
target = "a"
folder = '%ProgramGroupDir%\Tools\'
)");
  const TSetupData& d = b.pkg.Data;
  EXPECT_EQ(b.pkg.Data.StartupOptions[kWriteUninstallInfo], 1);
  ASSERT_EQ(d.DeviceFiles.size(), 4u);
  EXPECT_EQ(d.DeviceFiles[0].EntryIndex, 5u);
  EXPECT_EQ(d.DeviceFiles[2].EntryIndex, 5u);  // shares the data of the first file
  EXPECT_EQ(d.DeviceFiles[3].File.SourceName, "KVBUNINST.DAT");
  EXPECT_EQ(d.DeviceFiles[3].File.Group, "uninstaller");
  EXPECT_EQ(d.DeviceFiles[3].File.DestDir, "%WinDir%\\");
  EXPECT_EQ(d.DeviceFiles[3].EntryIndex, 0u);
  EXPECT_EQ(d.DeviceFiles[1].EntryIndex, 1u);
  EXPECT_EQ(d.DeviceFiles[1].VersionHigh, 0x00010002u);
  EXPECT_EQ(d.DeviceFiles[1].File.Size, 70000u);
  EXPECT_EQ(d.TempFiles[0].EntryIndex, 2u);
  // The variables that root the files' folders come first ("%WinDir%\\": the uninstaller).
  EXPECT_EQ(d.FileFolders, (std::vector<std::string>{"%InstallDir%\\", "%InstallDir%\\x",
                                                     "%InstallDir%\\x\\y", "%WinDir%\\"}));
  EXPECT_EQ(d.ShortcutFolders, (std::vector<std::string>{"%ProgramGroupDir%\\Tools"}));

  const BlockContents main = Block(b, b.pkg.Archives.MainArchiveOffset);
  ASSERT_EQ(main.entries.size(), 2u);
  EXPECT_EQ(main.entries[0].index, 5);
  EXPECT_EQ(main.entries[1].index, 0);
  EXPECT_EQ(main.messages, (std::vector<std::string>{""}));
  const BlockContents docs = Block(b, d.Components[0].ArchiveOffset);
  EXPECT_EQ(docs.messages, (std::vector<std::string>{"Docs"}));
  ASSERT_EQ(docs.entries.size(), 1u);
  EXPECT_EQ(docs.entries[0].index, 1);
  EXPECT_EQ(docs.total_size, 70000u);
  EXPECT_EQ(d.Components[1].ArchiveSpan, 0u);
  EXPECT_EQ(d.Components[1].ArchiveOffset, 0u);
  EXPECT_EQ(d.MainArchiveSpan + d.Components[0].ArchiveSpan, 100u);
  EXPECT_EQ(Block(b, b.pkg.Archives.TempArchiveOffset).entries[0].index, 2);
}

// The uninstaller carried: the command line's, else the project's, else the default.
TEST(BuildTest, UninstallerProgramComesFromCommandLineProjectOrDefault) {
  Scratch dir;
  test::WriteFile(dir / "cli.exe", "from the command line");
  test::WriteFile(dir / "project.exe", "named by the project");
  test::WriteFile(dir / "default.exe", "beside the stub");
  struct Case {
    const char* project;
    std::string cli;
    uint32_t size;
  } cases[] = {
      {"[uninstall]\nprogram = \"project.exe\"\n", dir / "cli.exe", 21},
      {"[uninstall]\nprogram = \"project.exe\"\n", "", 20},
      {"[uninstall]\nenabled = true\n", "", 15},
  };
  for (const Case& c : cases) {
    BuildOptions options;
    options.uninstaller = c.cli;
    options.default_uninstaller = dir / "default.exe";
    const Built b = BuildText(dir, c.project, options);
    EXPECT_EQ(Block(b, b.pkg.Archives.MainArchiveOffset).total_size, c.size) << c.project;
  }
}

TEST(BuildTest, ArchivePresenceCanBeForced) {
  Scratch dir;
  const Built b = BuildText(dir, "[archives]\ntemp-archive = true\nmain-archive = false\n");
  EXPECT_EQ(b.pkg.Archives.HasArchive, 1);
  EXPECT_EQ(Block(b, b.pkg.Archives.TempArchiveOffset).entries.size(), 0u);
  EXPECT_EQ(b.pkg.MainSection.Size(), 0u);
  Scratch plain;
  const Built p = BuildText(plain, "");
  EXPECT_EQ(p.pkg.Archives.HasArchive, 0);
  EXPECT_GT(p.pkg.MainSection.Size(), 0u);
}

TEST(BuildTest, DatesComeFromTheProjectOrTheFileTimes) {
  Scratch dir;
  test::WriteFile(dir / "a", "a");
  const auto time = std::chrono::file_clock::from_sys(
      std::chrono::sys_seconds{std::chrono::seconds{1121335231}});  // 2005-07-14 10:00:31 UTC
  std::filesystem::last_write_time(dir / "a", time);
  Built b = BuildText(dir, "[[file]]\nsource = \"a\"\n");
  EXPECT_EQ(b.pkg.Data.DeviceFiles[0].FileDate, 0x32EE500Fu);  // 2005-07-14 10:00:30 UTC
  b = BuildText(dir, "[package]\nfile-date = 2001-02-03T04:05:06\n[[file]]\nsource = \"a\"\n");
  EXPECT_EQ(b.pkg.Data.DeviceFiles[0].FileDate, 0x2A4320A3u);
  EXPECT_EQ(Block(b, b.pkg.Archives.MainArchiveOffset).entries[0].date, 0x2A4320A3u);
}

TEST(BuildTest, ProgressCountsEveryByteOnce) {
  Scratch dir;
  test::WriteFile(dir / "a", test::Noise(150000, 3));
  test::WriteFile(dir / "t", test::Noise(1000, 4));
  std::vector<std::pair<uint64_t, uint64_t>> reports;
  BuildOptions options;
  options.on_progress = [&](uint64_t done, uint64_t total) { reports.emplace_back(done, total); };
  BuildText(dir, "[[temp-file]]\nsource = \"t\"\n[[file]]\nsource = \"a\"\n", options);
  ASSERT_FALSE(reports.empty());
  for (size_t i = 1; i < reports.size(); ++i)
    EXPECT_GE(reports[i].first, reports[i - 1].first);
  EXPECT_EQ(reports.back(), std::make_pair(uint64_t{151000}, uint64_t{151000}));
}

TEST(BuildTest, VolumeSizesAreFoundAgainFromTheVolumes) {
  Scratch dir;
  test::WriteFile(dir / "a", test::Noise(100000, 5));
  test::WriteFile(dir / "b", std::string(90000, 'z'));
  test::WriteFile(dir / "c", "c");
  const std::string text =
      "[[file]]\nsource = \"a\"\n[[file]]\nsource = \"b\"\n[[file]]\nsource = \"c\"\n";
  for (uint64_t size :
       {uint64_t{60000}, uint64_t{65600}, uint64_t{70001}, uint64_t{90000}, uint64_t{400000}}) {
    BuildOptions options;
    options.volume_size = size;
    options.output = dir / "first/Setup.exe";
    BuildText(dir, text, options);
    std::vector<std::string> volumes;
    for (uint32_t n = 1; std::filesystem::exists(VolumeFileName(options.output, n)); ++n) {
      volumes.push_back(VolumeFileName(options.output, n));
    }
    const std::optional<uint64_t> fitted = FitVolumeSize(volumes);
    ASSERT_TRUE(fitted) << size;
    EXPECT_LE(*fitted, size);
    options.volume_size = fitted;
    options.output = dir / "second/Setup.exe";
    BuildText(dir, text, options);
    for (size_t n = 1; n <= volumes.size(); ++n) {
      EXPECT_TRUE(test::ReadFile(VolumeFileName(options.output, n)) ==
                  test::ReadFile(volumes[n - 1]))
          << size << " volume " << n;
    }
    EXPECT_FALSE(std::filesystem::exists(VolumeFileName(options.output, volumes.size() + 1)));
    std::filesystem::remove_all(dir / "first");
    std::filesystem::remove_all(dir / "second");
  }
  EXPECT_EQ(FitVolumeSize({}), std::nullopt);
  EXPECT_EQ(FitVolumeSize({dir / "p.toml"}), std::nullopt);
}

TEST(BuildTest, AFreshBuildRemovesVolumesOfALargerEarlierOne) {
  Scratch dir;
  test::WriteFile(dir / "a", test::Noise(200000, 6));
  BuildOptions options;
  options.volume_size = 60000;
  BuildText(dir, "[[file]]\nsource = \"a\"\n", options);
  ASSERT_TRUE(std::filesystem::exists(dir / "Setup.003"));
  options.volume_size = 150000;
  BuildText(dir, "[[file]]\nsource = \"a\"\n", options);
  EXPECT_TRUE(std::filesystem::exists(dir / "Setup.002"));
  EXPECT_FALSE(std::filesystem::exists(dir / "Setup.003"));
  EXPECT_EQ(test::Listing(dir.path()), "Setup.001 Setup.002 Setup.exe a p.toml stub.exe ");
}

}  // namespace
}  // namespace kvb::pack
