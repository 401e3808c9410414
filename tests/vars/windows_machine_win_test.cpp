// The built-in variables on a real system, each checked against the same fact obtained
// another way.
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "base/text.h"
#include "vars/variables.h"
#include "vars/windows_machine_win.h"
#include "win_test_support.h"

namespace kvb {
namespace {

std::string Env(const char* name) {
  char buffer[2048] = {};
  const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
  return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

std::string ShellPath(int csidl) {
  char path[MAX_PATH] = {};
  return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)) ? path : "";
}

std::string DateText(const char* picture) {
  char text[64] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, 0, nullptr, picture, text, sizeof(text));
  return text;
}

class MachineVariables : public ::testing::Test {
 protected:
  void ExpectSamePath(const char* text, const std::string& expected) {
    ASSERT_FALSE(expected.empty()) << text;
    const std::string value = vars.ExpandText(text);
    EXPECT_TRUE(SameText(value, expected)) << text << ": " << value << " vs " << expected;
  }

  WindowsMachine machine;
  Variables vars{&machine};
};

TEST_F(MachineVariables, FoldersMatchTheSystem) {
  const std::string windows = Env("windir");
  ExpectSamePath("%WinDir%", windows);
  ExpectSamePath("%HelpDir%", windows + "\\Help");
  ExpectSamePath("%WinDrive%", Env("SystemDrive"));
  ExpectSamePath("%SysDir%", ShellPath(CSIDL_SYSTEM));
  ExpectSamePath("%ProgramFilesDir%",
                 RawString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                           "ProgramFilesDir"));
  ExpectSamePath("%ProgramFilesDir%", ShellPath(CSIDL_PROGRAM_FILES));
  ExpectSamePath("%CommonFilesDir%", Env("CommonProgramFiles"));
  ExpectSamePath("%FontsDir%", ShellPath(CSIDL_FONTS));
  ExpectSamePath("%MyDocumentsDir%", ShellPath(CSIDL_PERSONAL));
  ExpectSamePath("%ActiveSyncDir%", ShellPath(CSIDL_PROGRAM_FILES) + "\\Microsoft ActiveSync");
  ExpectSamePath("%HotSyncDir%", windows);
  ExpectSamePath("%SourceDir%", ExcludeTrailingBackslash(ExtractFilePath(_pgmptr)));
  ExpectSamePath("[%TempSetupDir%]", "[]");
  EXPECT_TRUE(SameText(IncludeTrailingBackslash(machine.GetTempFolder()),
                       IncludeTrailingBackslash(Env("TEMP"))));
  const bool has_framework =
      !RawString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\.NETFramework", "InstallRoot").empty();
  if (!has_framework) {
    EXPECT_EQ(vars.ExpandText("[%DotNetDir%]"), "[]");
  }
}

TEST_F(MachineVariables, ShellFoldersFollowCommonShellFolders) {
  ASSERT_EQ(vars.ExpandText("%IsAdmin%"), IsUserAnAdmin() ? "1" : "0");
  ExpectSamePath("%DesktopDir%|%StartMenuDir%",
                 ShellPath(CSIDL_DESKTOPDIRECTORY) + "|" + ShellPath(CSIDL_STARTMENU));
  ExpectSamePath("%StartUpDir%", ShellPath(CSIDL_STARTUP));
  vars.SetVariable("%ProgramGroup%", "Acme\\Tool");
  ExpectSamePath("%ProgramGroupDir%", ShellPath(CSIDL_PROGRAMS) + "\\Acme\\Tool");
  if (!machine.IsAdmin())
    GTEST_SKIP() << "all-users folders need an administrator";
  vars.SetVariable("%CommonShellFolders%", "1");
  ExpectSamePath("%DesktopDir%|%ProgramsDir%",
                 ShellPath(CSIDL_COMMON_DESKTOPDIRECTORY) + "|" + ShellPath(CSIDL_COMMON_PROGRAMS));
}

TEST(ShellFolders, EveryKindMatchesTheShell) {
  const int per_user[] = {CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU, CSIDL_PROGRAMS,
                          CSIDL_STARTUP,          CSIDL_SENDTO,    CSIDL_FONTS,
                          CSIDL_TEMPLATES,        CSIDL_FAVORITES};
  const int all_users[] = {
      CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_PROGRAMS,
      CSIDL_COMMON_STARTUP,          CSIDL_SENDTO,           CSIDL_FONTS,
      CSIDL_COMMON_TEMPLATES,        CSIDL_COMMON_FAVORITES};
  WindowsMachine admin(AdminOptions(true));
  WindowsMachine user(AdminOptions(false));
  for (int kind = 0; kind < kShellFolderKindCount; ++kind) {
    const auto k = static_cast<ShellFolderKind>(kind);
    EXPECT_TRUE(SameText(admin.GetShellFolder(false, k), ShellPath(per_user[kind]))) << kind;
    const std::string common = ShellPath(all_users[kind]);
    const std::string expected = common.empty() ? ShellPath(per_user[kind]) : common;
    EXPECT_TRUE(SameText(admin.GetShellFolder(true, k), expected)) << kind;
    // A user without administrator rights never gets the all-users folders.
    EXPECT_TRUE(SameText(user.GetShellFolder(true, k), ShellPath(per_user[kind]))) << kind;
  }
}

TEST_F(MachineVariables, VersionScreenAndMemory) {
  const DWORD version = GetVersion();
  const bool nt = (version & 0x80000000) == 0;
  const std::string major = std::to_string(LOBYTE(LOWORD(version)));
  const std::string minor = std::to_string(HIBYTE(LOWORD(version)));
  EXPECT_EQ(vars.ExpandText("%IsNT%"), nt ? "1" : "0");
  EXPECT_EQ(vars.ExpandText("%OSMajorVersion%.%OSMinorVersion%"), major + "." + minor);
  if (nt) {
    EXPECT_EQ(vars.ExpandText("%OSVersion%"),
              major + "." + minor + "." + std::to_string(HIWORD(version)));
    EXPECT_EQ(machine.GetOSVersionPart(OSVersionPart::kPacked),
              (uint32_t{LOBYTE(LOWORD(version))} << 24) |
                  (uint32_t{HIBYTE(LOWORD(version))} << 16) | HIWORD(version));
  }
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  ASSERT_TRUE(GetVersionExA(&info));
  const std::string pack = info.szCSDVersion;  // "Service Pack N" or ""
  const uint32_t pack_major = pack.rfind("Service Pack ", 0) == 0 ? std::stoul(pack.substr(13)) : 0;
  EXPECT_EQ(machine.GetOSVersionPart(OSVersionPart::kServicePack) >> 8, pack_major);

  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  const int width = GetDeviceCaps(screen, HORZRES);
  const int height = GetDeviceCaps(screen, VERTRES);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(vars.ExpandText("%ColorDepth%"), std::to_string(bits));
  EXPECT_EQ(vars.ExpandText("%ScreenWidth%x%ScreenHeight%"),
            std::to_string(width) + "x" + std::to_string(height));

  // All of the memory, also beyond 4 GB (the end-to-end test compares with the kernel's).
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof(memory);
  GlobalMemoryStatusEx(&memory);
  EXPECT_EQ(vars.ExpandText("%RAMMemory%"), std::to_string(memory.ullTotalPhys / 1000000));
}

TEST_F(MachineVariables, DatesUseTheLocaleSeparator) {
  char separator[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, separator, sizeof(separator));
  const std::string sep = separator;
  const std::string day = DateText("dd"), month = DateText("MM"), year = DateText("yyyy");
  const std::string dates = vars.ExpandText("%ISODate% %Date% %EuropeanDate% %CurrentDay%");
  if (day != DateText("dd"))
    GTEST_SKIP() << "the date changed while the test ran";
  EXPECT_EQ(dates, year + "-" + month + "-" + day + " " + month + sep + day + sep + year + " " +
                       day + sep + month + sep + year + " " + day);
  const std::string time = vars.ExpandText("%CurrentHour%:%CurrentMinute%:%CurrentSecond%");
  ASSERT_EQ(time.size(), 8u);
  EXPECT_LE(std::stoi(time.substr(0, 2)), 23);
}

TEST(CommandLine, ParameterByNumber) {
  WindowsMachineOptions options;
  options.CommandLine = "setup.exe /a /b";
  WindowsMachine machine(options);
  Variables vars(&machine);
  const std::pair<const char*, std::string> cases[] = {{"2", "/b"},
                                                       {"0", machine.GetProgramPath()}};
  for (const auto& [number, expected] : cases) {
    vars.SetVariable("%CmdParamNum%", number);
    EXPECT_EQ(vars.ExpandText("%CmdLineParam%"), expected) << number;
  }
  EXPECT_TRUE(SameText(ExtractFileName(machine.GetProgramPath()), "vars_win_tests.exe"));
}

TEST(CommandLine, OwnCommandLineByDefault) {
  ASSERT_GE(__argc, 2) << "ctest passes the test filter";
  WindowsMachine machine;
  Variables vars(&machine);
  vars.SetVariable("%CmdParamNum%", "1");
  EXPECT_EQ(vars.ExpandText("%CmdLineParam%"), __argv[1]);
}

}  // namespace
}  // namespace kvb
