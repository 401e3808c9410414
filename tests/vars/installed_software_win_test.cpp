// .NET, ActiveSync and the folder caches, with HKEY_LOCAL_MACHINE replaced by a scratch
// key of this process.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text.h"
#include "vars/file_version.h"
#include "vars/variables.h"
#include "vars/windows_machine_win.h"
#include "win_test_support.h"

namespace kvb {
namespace {

namespace fs = std::filesystem;

constexpr char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr char kAppManager[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE";
constexpr char kCeServices[] = "SOFTWARE\\Microsoft\\Windows CE Services";
constexpr char kFramework[] = "SOFTWARE\\Microsoft\\.NETFramework";

class InstalledSoftware : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(hklm.ok());
    SetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", "C:\\PF");
    folder = fs::temp_directory_path() / ("kvb-vars-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  std::string Expand(const char* text) {
    WindowsMachine machine(AdminOptions(true));
    Variables vars(&machine);
    return vars.ExpandText(text);
  }

  ScratchLocalMachine hklm;
  fs::path folder;
};

TEST_F(InstalledSoftware, NothingInstalled) {
  EXPECT_EQ(Expand("%IsDotNetInstalled%|%DotNetVersion%|%ActiveSyncVersion%|%DotNetDir%"),
            "0|0.0|0.0|");
  EXPECT_EQ(Expand("%ActiveSyncDir%"), "C:\\PF\\Microsoft ActiveSync");
  EXPECT_FALSE(IsActiveSyncPresent());
}

TEST_F(InstalledSoftware, ActiveSyncFromItsKeys) {
  SetString(HKEY_LOCAL_MACHINE, kAppManager, "", "C:\\AS\\CEAPPMGR.EXE");
  SetDword(HKEY_LOCAL_MACHINE, kCeServices, "MajorVersion", 3);
  SetDword(HKEY_LOCAL_MACHINE, kCeServices, "MinorVersion", 7);
  EXPECT_TRUE(IsActiveSyncPresent());
  EXPECT_EQ(Expand("%ActiveSyncDir%|%ActiveSyncVersion%"), "C:\\AS|3.7");
  // A version number of another type, or an unnamed value that is no string, count as
  // not installed.
  SetString(HKEY_LOCAL_MACHINE, kCeServices, "MinorVersion", "7");
  SetDword(HKEY_LOCAL_MACHINE, kAppManager, "", 1);
  EXPECT_FALSE(IsActiveSyncPresent());
  EXPECT_EQ(Expand("%ActiveSyncDir%|%ActiveSyncVersion%"), "C:\\PF\\Microsoft ActiveSync|0.0");
}

TEST_F(InstalledSoftware, FrameworkFolderWithConfigurationDll) {
  fs::create_directories(folder / "v1.0.3705");  // no mscorcfg.dll: skipped
  fs::create_directories(folder / "v2.0.50727");
  fs::create_directories(folder / "v3.5");
  std::FILE* plain = std::fopen((folder / "mscorcfg.dll").string().c_str(), "w");  // not a folder
  std::fclose(plain);
  fs::copy_file(_pgmptr, folder / "v2.0.50727" / "mscorcfg.dll");
  fs::copy_file(_pgmptr, folder / "v3.5" / "mscorcfg.dll");
  SetString(HKEY_LOCAL_MACHINE, kFramework, "InstallRoot", folder.string() + "\\");
  FixedFileVersion own;
  ASSERT_TRUE(GetFileVersion(_pgmptr, own));
  EXPECT_EQ(Expand("%IsDotNetInstalled%|%DotNetVersion%"), "1|" + FormatFileVersion(own));
  EXPECT_TRUE(SameText(Expand("%DotNetDir%"), (folder / "v2.0.50727").string()));
}

TEST_F(InstalledSoftware, FrameworkDllWithoutVersionOrRootMissing) {
  fs::create_directories(folder / "v4");
  std::FILE* dll = std::fopen((folder / "v4" / "mscorcfg.dll").string().c_str(), "w");
  std::fputs("no resources", dll);
  std::fclose(dll);
  SetString(HKEY_LOCAL_MACHINE, kFramework, "InstallRoot", folder.string());
  EXPECT_EQ(Expand("%IsDotNetInstalled%|%DotNetVersion%"), "1|0.0.0.0");
  SetString(HKEY_LOCAL_MACHINE, kFramework, "InstallRoot", (folder / "gone").string() + "\\");
  EXPECT_EQ(Expand("%IsDotNetInstalled%|%DotNetVersion%|%DotNetDir%"), "0|0.0|");
}

// A user who may not write the machine's keys still finds what is installed.
TEST_F(InstalledSoftware, KeysTheUserCannotWriteAreRead) {
  SetString(HKEY_LOCAL_MACHINE, kAppManager, "", "C:\\AS\\CEAPPMGR.EXE");
  SetDword(HKEY_LOCAL_MACHINE, kCeServices, "MajorVersion", 4);
  SetDword(HKEY_LOCAL_MACHINE, kCeServices, "MinorVersion", 5);
  SetString(HKEY_LOCAL_MACHINE, kFramework, "InstallRoot", folder.string());
  ReadOnlyKey services(HKEY_LOCAL_MACHINE, kCeServices);
  ReadOnlyKey framework(HKEY_LOCAL_MACHINE, kFramework);
  ReadOnlyKey app_manager(HKEY_LOCAL_MACHINE, kAppManager);
  ASSERT_TRUE(services.ok() && framework.ok() && app_manager.ok());
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCeServices, 0, KEY_ALL_ACCESS, &key),
            ERROR_ACCESS_DENIED);
  EXPECT_TRUE(IsActiveSyncPresent());
  EXPECT_EQ(Expand("%ActiveSyncVersion%|%IsDotNetInstalled%|%ActiveSyncDir%"), "4.5|1|C:\\AS");
}

TEST_F(InstalledSoftware, FoldersAreComputedOnceFrameworkEveryTime) {
  WindowsMachine machine(AdminOptions(true));
  Variables vars(&machine);
  EXPECT_EQ(vars.ExpandText("%ProgramFilesDir%|%IsDotNetInstalled%"), "C:\\PF|0");
  SetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", "D:\\Other");
  SetString(HKEY_LOCAL_MACHINE, kFramework, "InstallRoot", folder.string());
  EXPECT_EQ(vars.ExpandText("%ProgramFilesDir%|%IsDotNetInstalled%"), "C:\\PF|1");
  EXPECT_EQ(Expand("%ProgramFilesDir%"), "D:\\Other");
}

TEST_F(InstalledSoftware, FoldersFallBackToTheUserAndAcceptOnlyStrings) {
  // HKEY_CURRENT_USER is the real one: give it a value only when it has none.
  ScratchKey user("user-pf");
  SetDword(HKEY_LOCAL_MACHINE, kCurrentVersion, "CommonFilesDir", 1);
  SetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", "");
  const std::string user_value = RawString(HKEY_CURRENT_USER, kCurrentVersion, "ProgramFilesDir");
  EXPECT_EQ(Expand("[%ProgramFilesDir%]"), "[" + ExcludeTrailingBackslash(user_value) + "]");
  const std::string user_common = RawString(HKEY_CURRENT_USER, kCurrentVersion, "CommonFilesDir");
  EXPECT_EQ(Expand("[%CommonFilesDir%]"), "[" + ExcludeTrailingBackslash(user_common) + "]");
  SetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "CommonFilesDir", "%SystemDrive%\\CF\\",
            REG_EXPAND_SZ);
  EXPECT_EQ(Expand("%CommonFilesDir%"), "%SystemDrive%\\CF");  // used as stored
}

}  // namespace
}  // namespace kvb
