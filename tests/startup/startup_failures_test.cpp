// The ways start-up ends early after the package passed its first checks: no temporary
// folder, missing desktop software, a damaged package. Each shows its message and
// leaves nothing behind.
#include <gtest/gtest.h>

#include <functional>

#include "setupdata/archive_test_util.h"
#include "setupdata/section_reader.h"
#include "startup/exit_codes.h"
#include "startup/fake_startup_host.h"
#include "startup/startup_sequence.h"
#include "startup/temp_folder.h"
#include "startup/test_package.h"

namespace kvb::test {
namespace {

using Lines = std::vector<std::string>;

std::string InternalErrorIn(const std::string& caption) {
  return "message stop " + caption + "|" + kInternalErrorText;
}
std::string InternalError() {
  return InternalErrorIn("Kalvenbrooker Setup");
}
std::string CorruptedData(const std::string& caption) {
  return "message stop " + caption + "|" + kCorruptedDataText;
}

struct FolderCase {
  const char* name;
  std::string temp_folder;
  std::vector<std::string> existing;    // folders and files already there
  std::vector<std::string> unwritable;  // candidates that cannot be created
  std::string created;                  // "" when the search fails
};

TEST(StartupFailuresTest, TemporaryFolderSearch) {
  const FolderCase cases[] = {
      {"first candidate", "C:\\Temp\\", {}, {}, "C:\\Temp\\kvb001"},
      {"no trailing backslash", "C:\\Temp", {}, {}, "C:\\Temp\\kvb001"},
      {"kvb001 exists", "C:\\Temp\\", {"C:\\Temp\\KVB001"}, {}, "C:\\Temp\\kvb002"},
      {"a file and a folder in the way",
       "C:\\Temp\\",
       {"file:C:\\Temp\\kvb001", "C:\\Temp\\kvb002"},
       {},
       "C:\\Temp\\kvb003"},
      {"one cannot be created", "C:\\Temp\\", {}, {"C:\\Temp\\kvb001"}, "C:\\Temp\\kvb002"},
      {"the system names no folder", "", {}, {}, ""},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeStartupHost host(TestPackage().Bytes());
    host.temp_folder = c.temp_folder;
    for (const std::string& path : c.existing) {
      if (path.rfind("file:", 0) == 0)
        host.files[path.substr(5)] = "x";
      else
        host.folders.insert(path);
    }
    host.unwritable_folders.insert(c.unwritable.begin(), c.unwritable.end());
    TSetupStartup startup(host);
    const int exit_code = startup.Run();
    if (c.created.empty()) {
      EXPECT_EQ(exit_code, kExitInternalError);
      EXPECT_EQ(host.LogLines("message"), Lines{InternalError()});
      EXPECT_TRUE(host.LogLines("folder").empty());
      continue;
    }
    EXPECT_EQ(exit_code, kExitNormal);
    EXPECT_EQ(host.LogLines("folder"), Lines{"folder " + c.created});
    EXPECT_EQ(host.LogLines("remove-tree"), Lines{"remove-tree " + c.created});
  }
}

TEST(StartupFailuresTest, TemporaryFolderSearchEnds) {
  FakeStartupHost host(TestPackage().Bytes());
  for (int n = 1; n <= kMaxTempFolderCandidates; n += 2)
    host.folders.insert(TempFolderCandidate(kTempFolder, n));
  for (int n = 2; n <= kMaxTempFolderCandidates; n += 2)
    host.unwritable_folders.insert(TempFolderCandidate(kTempFolder, n));
  TSetupStartup startup(host);
  EXPECT_EQ(startup.Run(), kExitInternalError);
  EXPECT_EQ(host.create_folder_calls, kMaxTempFolderCandidates);
  EXPECT_EQ(host.LogLines("message"), Lines{InternalError()});
  EXPECT_FALSE(host.loader);
}

struct SoftwareCase {
  const char* name;
  bool require_activesync, activesync, require_hotsync, hotsync;
  int message;  // -1: none
};

TEST(StartupFailuresTest, RequiredDesktopSoftware) {
  const SoftwareCase cases[] = {
      {"nothing required", false, false, false, false, -1},
      {"ActiveSync missing", true, false, false, true, kMessageActiveSyncMissing},
      {"ActiveSync present", true, true, false, false, -1},
      {"HotSync missing", false, true, true, false, kMessageHotSyncMissing},
      {"both missing: ActiveSync first", true, false, true, false, kMessageActiveSyncMissing},
      {"both present", true, true, true, true, -1},
  };
  for (const SoftwareCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestPackage package;
    package.data.StartupOptions[kRequireActiveSync] = c.require_activesync;
    package.data.StartupOptions[kRequireHotSync] = c.require_hotsync;
    package.data.LanguageLessMessages.Texts[kMessageActiveSyncMissing] = "AS for %SoftwareName%";
    package.data.LanguageLessMessages.Texts[kMessageHotSyncMissing] = "HS for %SoftwareName%";
    package.temp_files = {{"a.txt", "a"}};
    FakeStartupHost host(package.Bytes());
    host.activesync = c.activesync;
    host.hotsync = c.hotsync;
    TSetupStartup startup(host);
    const int exit_code = startup.Run();
    if (c.message < 0) {
      EXPECT_EQ(exit_code, kExitNormal);
      EXPECT_TRUE(host.LogLines("message").empty());
      continue;
    }
    EXPECT_EQ(exit_code, kExitRequiredSoftwareMissing);
    const std::string text = c.message == kMessageActiveSyncMissing ? "AS" : "HS";
    // Shown before the package title is set, the loader shown or any file extracted.
    const Lines expected = {"title Kalvenbrooker Setup", "folder C:\\Temp\\kvb001",
                            "message information Kalvenbrooker Setup|" + text + " for Demo",
                            "remove-tree C:\\Temp\\kvb001"};
    EXPECT_EQ(host.log, expected);
  }
}

std::string DamagedArchiveSection() {
  // A file entry whose compressed chunk does not inflate.
  return "\x01" + BlockBytes(4, 1).Entry(0).Compressed("not zlib").EndEntry().End().Take();
}

struct DamageCase {
  const char* name;
  int section;  // whose offset is moved outside the file; -1: none
  std::optional<std::string> temp_section;
  bool folder_created;
  bool loader_shown;
};

TEST(StartupFailuresTest, DamagedPackageShowsTheCorruptedDataMessage) {
  const DamageCase cases[] = {
      {"software information", kSectionSoftwareInfo, {}, false, false},
      {"variables", kSectionVariables, {}, true, false},
      {"messages", kSectionMessages, {}, true, false},
      {"temporary files", kSectionTempFiles, {}, true, false},
      {"temporary-file archive outside", kSectionTempArchive, {}, true, true},
      {"device platforms", kSectionPlatforms, {}, true, true},
      {"scripts", kSectionScripts, {}, true, true},
      {"registry changes", kSectionRegChanges, {}, true, true},
      {"archive block unreadable", -1, std::string("\x01garbage", 8), true, true},
      {"chunk does not inflate", -1, DamagedArchiveSection(), true, true},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestPackage package;
    package.data.Properties.SplashBitmap = "splash.bmp";
    package.temp_files = {{"splash.bmp", kBitmapBytes}};
    package.temp_section = c.temp_section;
    std::string bytes = package.Bytes();
    if (c.section >= 0)
      bytes = WithSectionOutsideFile(bytes, c.section);
    FakeStartupHost host(bytes);
    TSetupStartup startup(host);
    EXPECT_EQ(startup.Run(), kExitCorruptedData);
    Lines tail;
    if (c.loader_shown)
      tail.push_back("loader closed");  // before the message, which must not hide behind it
    // The caption is the title of the moment: the package's once the loader shows.
    tail.push_back(CorruptedData(c.loader_shown ? "Demo Setup" : "Kalvenbrooker Setup"));
    if (c.folder_created) {
      for (const std::string& line : host.LogLines("write "))
        tail.push_back("delete " + line.substr(6));
      tail.push_back("remove-tree C:\\Temp\\kvb001");
    }
    ASSERT_GE(host.log.size(), tail.size());
    EXPECT_EQ(Lines(host.log.end() - static_cast<std::ptrdiff_t>(tail.size()), host.log.end()),
              tail);
    EXPECT_EQ(host.LogLines("folder").size(), c.folder_created ? 1u : 0u);
    EXPECT_FALSE(host.loader_open || host.splash_open);
    EXPECT_TRUE(host.files.empty());
    EXPECT_EQ(host.folders, PathSet{"C:\\Temp"});
  }
}

struct PlacementCase {
  const char* name;
  std::string splash;  // the package's splash bitmap, "" for none
  std::function<void(FakeStartupHost&)> arrange;
  Lines writes;  // files the run created before it ended
};

// A temporary file that cannot be placed ends the run with the internal-error message;
// the pass stops there, and only what the run created is deleted: a file the reader
// kept (read-only, locked, a folder in its place) stays as it was.
TEST(StartupFailuresTest, TemporaryFileThatCannotBePlacedEndsTheRun) {
  const std::string tools = "C:\\Tools\\";
  const PlacementCase cases[] = {
      {"read-only or locked target outside the temporary folder",
       "",
       [](FakeStartupHost& host) {
         host.folders.insert("C:\\Tools");
         host.files["C:\\Tools\\b.dll"] = "user's";
         host.undeletable_files.insert("C:\\Tools\\b.dll");
       },
       {"write C:\\Temp\\kvb001\\a.txt"}},
      {"a folder stands at its name",
       "",
       [](FakeStartupHost& host) { host.folders.insert("C:\\Tools\\b.dll"); },
       {"write C:\\Temp\\kvb001\\a.txt"}},
      {"its folder cannot be made",
       "",
       [](FakeStartupHost& host) { host.unwritable_folders.insert("C:\\Tools"); },
       {"write C:\\Temp\\kvb001\\a.txt"}},
      {"it cannot be created (disk full, access denied, invalid name)",
       "",
       [](FakeStartupHost& host) { host.uncreatable_files.insert("C:\\Tools\\b.dll"); },
       {"write C:\\Temp\\kvb001\\a.txt"}},
      {"the splash bitmap in the first pass",
       "splash.bmp",
       [](FakeStartupHost& host) { host.uncreatable_files.insert("C:\\Temp\\kvb001\\splash.bmp"); },
       {}},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestPackage package;
    package.data.Properties.SplashBitmap = c.splash;
    package.data.Scripts[0] = Script({Statement("MESSAGE", {"", "script ran"})});
    package.temp_files = {
        {"a.txt", "a"}, {"b.dll", "MZ", tools}, {"c.txt", "c"}, {"splash.bmp", kBitmapBytes}};
    FakeStartupHost host(package.Bytes());
    c.arrange(host);
    const PathMap<std::string> before = host.files;
    TSetupStartup startup(host);
    EXPECT_EQ(startup.Run(), kExitInternalError);
    EXPECT_EQ(host.LogLines("message"), Lines{InternalErrorIn("Demo Setup")});
    EXPECT_TRUE(host.LogLines("script-message").empty());
    EXPECT_EQ(host.LogLines("write "), c.writes);  // nothing after the failing file
    Lines deletes;
    for (const std::string& line : c.writes)
      deletes.push_back("delete " + line.substr(6));
    EXPECT_EQ(host.LogLines("delete "), deletes);
    EXPECT_EQ(host.files, before);
    EXPECT_FALSE(host.loader_open || host.splash_open);
    EXPECT_EQ(host.LogLines("remove-tree"), Lines{"remove-tree C:\\Temp\\kvb001"});
  }
}

}  // namespace
}  // namespace kvb::test
