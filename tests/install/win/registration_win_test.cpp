// The system registration services and the installation machine on real files and a
// scratch registry under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include "install/install_machine_win.h"
#include "vars/system_registration_win.h"
#include "vars/win_test_support.h"
#include "win_scratch.h"

namespace kvb::test {
namespace {

constexpr char kShared[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::string Raw(HKEY root, const std::string& key, const std::string& name, DWORD* type = nullptr) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return "<no key>";
  BYTE data[512];
  DWORD size = sizeof data;
  DWORD t = 0;
  const LONG rc = RegQueryValueExA(handle, name.c_str(), nullptr, &t, data, &size);
  RegCloseKey(handle);
  if (type)
    *type = t;
  return rc == ERROR_SUCCESS ? std::string(reinterpret_cast<char*>(data), size) : "<none>";
}

TEST(SharedDllCountTest, CountsKeepTheirStoredType) {
  ScratchLocalMachine hklm;
  ASSERT_TRUE(hklm.ok());
  SetString(HKEY_LOCAL_MACHINE, kShared, "C:\\a.dll", "3");
  ASSERT_TRUE(AddSharedDllReference("C:\\a.dll"));
  DWORD type = 0;
  EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, kShared, "C:\\a.dll", &type), std::string("4\0", 2));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

  ASSERT_TRUE(AddSharedDllReference("C:\\new.dll"));
  EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, kShared, "C:\\new.dll", &type), std::string("\1\0\0\0", 4));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));

  SetString(HKEY_LOCAL_MACHINE, kShared, "C:\\bin.dll", "\2", REG_BINARY);  // 1 byte + its zero
  ASSERT_TRUE(AddSharedDllReference("C:\\bin.dll"));
  EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, kShared, "C:\\bin.dll", &type), std::string("\3\0\0\0", 4));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));

  // Releasing the last reference deletes the value; a missing one changes nothing.
  EXPECT_TRUE(ReleaseSharedDllReference("C:\\new.dll"));
  EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, kShared, "C:\\new.dll"), "<none>");
  EXPECT_FALSE(ReleaseSharedDllReference("C:\\missing.dll"));
  EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, kShared, "C:\\missing.dll"), "<none>");
  EXPECT_TRUE(ReleaseSharedDllReference("C:\\a.dll"));
  EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, kShared, "C:\\a.dll"), std::string("3\0", 2));
}

TEST(RegisterServerTest, CallsTheLibrarysOwnRegistration) {
  const std::string key = "Software\\KvbTests\\Registered";
  DeleteKeyTree(HKEY_CURRENT_USER, key);
  const std::string dll = ProgramFolder() + "\\install_register_dll.dll";
  ASSERT_TRUE(RegisterServer(dll));
  EXPECT_EQ(Raw(HKEY_CURRENT_USER, key, "Server"), std::string("\1\0\0\0", 4));
  UnregisterServer(dll);
  EXPECT_EQ(Raw(HKEY_CURRENT_USER, key, "Server"), "<no key>");
  EXPECT_FALSE(RegisterServer(ProgramFolder() + "\\install_plain_dll.dll"));
  EXPECT_FALSE(RegisterServer(ProgramFolder() + "\\missing.dll"));
}

TEST(DeleteFileForceTest, DeletesReadOnlyFiles) {
  ScratchFolder folder("force");
  const std::string file = folder / "ro.txt";
  WriteTextFile(file, "x");
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(DeleteFileForce(file));
  EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(DeleteFileForce(file));
}

UINT g_exit_flags = 0;
BOOL WINAPI FakeExitWindows(UINT flags, DWORD) {
  g_exit_flags = flags;
  return TRUE;
}

TEST(RestartWindowsTest, AsksForARestartWithTheShutdownPrivilege) {
  EXPECT_TRUE(RestartWindows(FakeExitWindows));
  EXPECT_EQ(g_exit_flags, static_cast<UINT>(EWX_REBOOT));
}

TEST(InstallFontTest, RegistersAndRemovesTheProfileEntry) {
  char fonts[MAX_PATH];
  GetWindowsDirectoryA(fonts, MAX_PATH);
  const std::string in_fonts = std::string(fonts) + "\\Fonts\\kvbtest.ttf";
  // Not a real font: Windows refuses it, and the bounded retries give up.
  EXPECT_EQ(InstallFont(in_fonts, "Kvb Test (TrueType)"), "kvbtest.ttf");
  char value[MAX_PATH] = {};
  GetProfileStringA("Fonts", "Kvb Test (TrueType)", "", value, MAX_PATH);
  EXPECT_STREQ(value, "kvbtest.ttf");
  RemoveFont(in_fonts, "Kvb Test (TrueType)");
  GetProfileStringA("Fonts", "Kvb Test (TrueType)", "gone", value, MAX_PATH);
  EXPECT_STREQ(value, "gone");
  EXPECT_EQ(InstallFont("C:\\Elsewhere\\x.ttf", "Kvb X"), "C:\\Elsewhere\\x.ttf");
  RemoveFont("C:\\Elsewhere\\x.ttf", "Kvb X");
}

TEST(InstallMachineTest, FilesInUseReadOnlyAndReplacementsAtRestart) {
  ScratchFolder folder("machine");
  auto machine = MakeWindowsInstallMachine();
  std::vector<std::string> created;
  ASSERT_TRUE(machine->CreateFolders(folder / "a\\b", created));
  EXPECT_EQ(created, (std::vector<std::string>{folder / "a", folder / "a\\b"}));

  const std::string busy = folder / "busy.txt";
  WriteTextFile(busy, "old");
  HANDLE open = CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(machine->MoveAside(busy, folder / "b1"), MoveAsideResult::kInUse);
  CloseHandle(open);
  EXPECT_EQ(machine->MoveAside(busy, folder / "b1"), MoveAsideResult::kMoved);
  EXPECT_EQ(ReadTextFile(folder / "b1"), "old");
  EXPECT_TRUE(machine->RestoreFile(folder / "b1", busy));
  EXPECT_EQ(ReadTextFile(busy), "old");
  SetFileAttributesA(busy.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(machine->MoveAside(busy, folder / "b2"), MoveAsideResult::kReadOnly);
  EXPECT_TRUE(machine->RemoveFile(busy));

  // A replacement at the next restart is registered with the system and withdrawn again.
  const std::string next = folder / "next.txt";
  WriteTextFile(next, "new");
  const auto before =
      machine->ReadValue(RegRoot::kLocalMachine, kSessionManagerKey, kPendingRenamesValue);
  ASSERT_TRUE(machine->ScheduleReplace(next, busy));
  const auto pending =
      machine->ReadValue(RegRoot::kLocalMachine, kSessionManagerKey, kPendingRenamesValue);
  ASSERT_TRUE(pending);
  EXPECT_NE(pending->Bytes.find("next.txt"), std::string::npos);
  machine->CancelScheduledReplace(next);
  EXPECT_EQ(machine->ReadValue(RegRoot::kLocalMachine, kSessionManagerKey, kPendingRenamesValue),
            before);
}

TEST(InstallMachineTest, RegistryKeysCreatedAndRemovedWhenEmpty) {
  ScratchKey scratch("machine");
  auto machine = MakeWindowsInstallMachine();
  std::vector<std::string> created;
  ASSERT_TRUE(machine->CreateKey(RegRoot::kCurrentUser, scratch.path() + "\\A\\B", created));
  EXPECT_EQ(created, (std::vector<std::string>{scratch.path() + "\\A", scratch.path() + "\\A\\B"}));
  ASSERT_TRUE(machine->WriteValue(RegRoot::kCurrentUser, scratch.path() + "\\A\\B", "V",
                                  {REG_BINARY, "KVB"}));
  EXPECT_EQ(machine->ReadValue(RegRoot::kCurrentUser, scratch.path() + "\\A\\B", "V"),
            (RegistryData{REG_BINARY, "KVB"}));
  EXPECT_FALSE(machine->DeleteKeyIfEmpty(RegRoot::kCurrentUser, scratch.path() + "\\A\\B"));
  EXPECT_TRUE(machine->DeleteValue(RegRoot::kCurrentUser, scratch.path() + "\\A\\B", "V"));
  EXPECT_FALSE(machine->DeleteKeyIfEmpty(RegRoot::kCurrentUser, scratch.path() + "\\A"));
  EXPECT_TRUE(machine->DeleteKeyIfEmpty(RegRoot::kCurrentUser, scratch.path() + "\\A\\B"));
  EXPECT_TRUE(machine->DeleteKeyIfEmpty(RegRoot::kCurrentUser, scratch.path() + "\\A"));
}

}  // namespace
}  // namespace kvb::test
