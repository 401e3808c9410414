// The registry operations of the removal's Windows machine on a scratch key under Wine
// (its files, folders and services are exercised by the end-to-end removal test).
#include <windows.h>

#include <gtest/gtest.h>

#include "uninstall/removal_machine_win.h"
#include "vars/reg_key_win.h"
#include "vars/win_test_support.h"

namespace kvb {
namespace {

bool KeyExists(HKEY root, const std::string& key) {
  RegKey reg;
  return reg.Open(root, key, KEY_READ) == ERROR_SUCCESS;
}

TEST(RemovalMachineWinTest, RegistryOperations) {
  ScratchKey scratch("removal");
  WinRemovalMachine machine;
  const std::string base = scratch.path();
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
}  // namespace kvb
