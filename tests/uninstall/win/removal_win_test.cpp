// The removal on real files and a scratch registry under Wine: what goes, what stays,
// servers unregistered before their files go, shared counts, and the registry operations
// of the removal's Windows machine.
#include <windows.h>

#include <gtest/gtest.h>

#include "install/win/win_scratch.h"
#include "uninstall/fake_removal_machine.h"
#include "uninstall/removal_machine_win.h"
#include "uninstall/remove_items.h"
#include "uninstall/test_items.h"
#include "vars/reg_key_win.h"
#include "vars/system_registration_win.h"
#include "vars/variables.h"
#include "vars/win_test_support.h"

namespace kvb::test {
namespace {

constexpr char kShared[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr char kRegisteredKey[] = "Software\\KvbTests\\Registered";

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return false;
  RegCloseKey(handle);
  return true;
}

class RemovalWinTest : public ::testing::Test {
 protected:
  bool Remove(FileActionPrompt* prompt = nullptr) {
    RemovalContext context(machine, vars, texts, "Sample Setup");
    context.Prompt = prompt;
    RemovalSelection all;
    all.RemoveAll = true;
    return RemoveItems(context, items, not_removed, all);
  }

  ScratchFolder folder{"removal"};
  ScratchKey key{"removal"};
  WinRemovalMachine machine;
  Variables vars;
  UninstallerTexts texts;
  std::vector<TUninstItem> items;
  std::vector<std::string> not_removed;
};

TEST_F(RemovalWinTest, CompleteRemovalOnRealFilesAndRegistry) {
  const std::string app = folder / "App";
  const std::string data = app + "\\Data";
  ASSERT_TRUE(CreateDirectoryA(app.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
  WriteTextFile(app + "\\main.exe", "program");
  SetFileAttributesA((app + "\\main.exe").c_str(), FILE_ATTRIBUTE_READONLY);
  WriteTextFile(data + "\\a.dat", "data");
  WriteTextFile(app + "\\notes.txt", "the user's own");
  WriteTextFile(app + "\\uninst.dat", "log");
  const std::string server = app + "\\server.dll";
  ASSERT_TRUE(
      CopyFileA((ProgramFolder() + "\\install_register_dll.dll").c_str(), server.c_str(), FALSE));
  ASSERT_TRUE(RegisterServer(server));
  ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, kRegisteredKey));
  SetString(HKEY_CURRENT_USER, key.path() + "\\Sample\\Deep", "A", "1");
  SetString(HKEY_CURRENT_USER, key.path() + "\\Sample", "Other", "stays");

  items = {FolderItem(app),
           FolderItem(data),
           FileItem(app + "\\main.exe", ""),
           FileItem(data + "\\a.dat", "Docs"),
           FileItem(server, ""),
           ValueItem(1, key.path() + "\\Sample\\Deep\\", "A"),
           PathItem(kItemPlainFile, app + "\\uninst.dat")};
  items[4].File.SelfRegister = 1;

  EXPECT_TRUE(Remove());

  for (const char* gone : {"\\main.exe", "\\Data\\a.dat", "\\Data", "\\server.dll", "\\uninst.dat"})
    EXPECT_FALSE(Exists(app + gone)) << gone;
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRegisteredKey));  // unregistered
  EXPECT_TRUE(Exists(app + "\\notes.txt"));
  EXPECT_EQ(not_removed, std::vector<std::string>{app + "\\"});
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key.path() + "\\Sample\\Deep"));
  EXPECT_EQ(RawString(HKEY_CURRENT_USER, key.path() + "\\Sample", "Other"), "stays");
}

TEST_F(RemovalWinTest, SharedFilesFollowTheirCounts) {
  ScratchLocalMachine hklm;
  ASSERT_TRUE(hklm.ok());
  const std::string still = folder / "still.dll";
  const std::string last = folder / "last.dll";
  WriteTextFile(still, "x");
  WriteTextFile(last, "x");
  SetDword(HKEY_LOCAL_MACHINE, kShared, still, 2);
  SetString(HKEY_LOCAL_MACHINE, kShared, last, "1");
  items = {FileItem(still, ""), FileItem(last, "")};
  items[0].File.SharedFile = items[1].File.SharedFile = 1;
  ScriptedPrompt prompt;
  prompt.answers = {FileAnswer::kYes};

  EXPECT_TRUE(Remove(&prompt));

  EXPECT_TRUE(Exists(still));
  DWORD count = 0;
  RegKey shared;
  ASSERT_EQ(shared.Open(HKEY_LOCAL_MACHINE, kShared, KEY_READ), ERROR_SUCCESS);
  EXPECT_EQ(shared.ReadDword(still, count), ERROR_SUCCESS);
  EXPECT_EQ(count, 1u);
  EXPECT_FALSE(Exists(last));
  EXPECT_FALSE(machine.ValueExists(RegRoot::kLocalMachine, kShared, last));
  ASSERT_EQ(prompt.asked.size(), 1u);
  EXPECT_EQ(prompt.asked[0].File, last);
}

TEST_F(RemovalWinTest, RegistryOperations) {
  const std::string base = key.path();
  SetString(HKEY_CURRENT_USER, base + "\\Tree\\Leaf", "V", "1");
  SetString(HKEY_CURRENT_USER, base + "\\Tree\\Other", "", "default");
  RegKey empty;
  ASSERT_EQ(empty.Create(HKEY_CURRENT_USER, base + "\\Empty", KEY_ALL_ACCESS), ERROR_SUCCESS);
  empty.Close();

  EXPECT_TRUE(machine.KeyIsEmpty(RegRoot::kCurrentUser, base + "\\Empty"));
  EXPECT_FALSE(machine.KeyIsEmpty(RegRoot::kCurrentUser, base + "\\Tree\\Other"));  // default
  EXPECT_FALSE(machine.KeyIsEmpty(RegRoot::kCurrentUser, base + "\\Missing"));
  EXPECT_EQ(machine.SubkeyNames(RegRoot::kCurrentUser, base + "\\Tree"),
            (std::vector<std::string>{"Leaf", "Other"}));
  EXPECT_FALSE(machine.DeleteKey(RegRoot::kCurrentUser, base + "\\Tree"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\Tree\\Leaf"));
  EXPECT_EQ(machine.ReadString(RegRoot::kCurrentUser, base + "\\Tree\\Other", ""), "default");
  EXPECT_EQ(machine.ReadString(RegRoot::kCurrentUser, base + "\\Tree\\Other", "none"),
            std::nullopt);
  EXPECT_TRUE(machine.DeleteValue(RegRoot::kCurrentUser, base + "\\Tree\\Leaf", "V"));
  EXPECT_TRUE(machine.DeleteValue(RegRoot::kCurrentUser, base + "\\Tree\\Leaf", "V"));
  EXPECT_TRUE(machine.DeleteValue(RegRoot::kCurrentUser, base + "\\Missing", "V"));
  EXPECT_TRUE(machine.DeleteKeyTree(RegRoot::kCurrentUser, base + "\\Tree"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\Tree"));
  EXPECT_TRUE(machine.DeleteKey(RegRoot::kCurrentUser, base + "\\Empty"));
  EXPECT_FALSE(machine.DeleteKeyTree(RegRoot::kCurrentUser, ""));
}

}  // namespace
}  // namespace kvb::test
