// Package variables with registry-backed defaults, read from a scratch key.
#include <windows.h>

#include <gtest/gtest.h>

#include "vars/reg_key_win.h"
#include "vars/registry_reader_win.h"
#include "win_test_support.h"

namespace kvb {
namespace {

TSetupVariable Var(const std::string& name,
                   uint8_t root,
                   const std::string& key,
                   const std::string& value_name,
                   const std::string& data,
                   uint8_t flag = 0) {
  TSetupVariable v;
  v.Name = name;
  v.Source.Root = root;
  v.Source.Key = key;
  v.Source.ValueName = value_name;
  v.Source.Data = data;
  v.Flag = flag;
  return v;
}

std::string Stored(const Variables& vars, const std::string& name) {
  const int index = vars.List().IndexOf(name);
  return index < 0 ? "<absent>" : vars.List().GetItem(index).second;
}

// Root 7 of the first record means HKEY_CURRENT_USER; 200 keeps the machine root before.
TEST(RegistryDefaults, PresentMissingAndWrongType) {
  ScratchKey scratch("defaults");
  const std::string& key = scratch.path();
  SetString(HKEY_CURRENT_USER, key, "Folder", "C:\\Reg\\");
  SetString(HKEY_CURRENT_USER, key, "Expand", "%SystemRoot%\\x", REG_EXPAND_SZ);
  SetString(HKEY_CURRENT_USER, key, "", "unnamed");
  SetDword(HKEY_CURRENT_USER, key, "Number", 5);
  const BYTE bytes[] = {1, 2, 3};
  RegSetValueExA(scratch.key(), "Binary", 0, REG_BINARY, bytes, sizeof(bytes));

  Variables vars;
  vars.SoftwareName = "Tool";
  vars.SetVariable("%Stale%", "x");
  WinRegistryReader registry;
  LoadVariables(vars,
                {
                    Var("Folder", 7, "\\" + key + "\\", "Folder", "default", 1),
                    Var("Expand", 1, key, "Expand", "default"),
                    Var("Unnamed", 1, key, "", "default"),
                    Var("Number", 1, key, "Number", "%SoftwareName% number"),
                    Var("Binary", 1, key, "Binary", "%SoftwareName% binary"),
                    Var("Missing", 1, key, "Missing", "%SoftwareName% missing"),
                    Var("NoKey", 1, key + "\\Absent", "Folder", "no key"),
                    Var("Machine", 2, key, "Folder", "not under the machine"),
                    Var("StillMachine", 200, key, "Folder", "root kept"),
                    Var("User", 1, key, "Folder", "default"),
                },
                registry);
  const std::pair<const char*, const char*> expected[] = {
      {"%Folder%", "C:\\Reg"},         {"%Expand%", "%SystemRoot%\\x"},
      {"%Unnamed%", "unnamed"},        {"%Number%", "Tool number"},
      {"%Binary%", "Tool binary"},     {"%Missing%", "Tool missing"},
      {"%NoKey%", "no key"},           {"%Machine%", "not under the machine"},
      {"%StillMachine%", "root kept"}, {"%User%", "C:\\Reg\\"},
      {"%Stale%", "<absent>"},  // the store starts anew
  };
  for (const auto& [name, value] : expected)
    EXPECT_EQ(Stored(vars, name), value) << name;
}

// Loading a variable's default is the one registry read that asks for full access: a
// user who may not write the key gets the package's default.
TEST(RegistryDefaults, KeyTheUserCannotWriteGivesTheDefault) {
  ScratchKey scratch("readonly-default");
  SetString(HKEY_CURRENT_USER, scratch.path(), "Folder", "C:\\Reg");
  ReadOnlyKey read_only(HKEY_CURRENT_USER, scratch.path());
  ASSERT_TRUE(read_only.ok());
  Variables vars;
  WinRegistryReader registry;
  LoadVariables(vars, {Var("Folder", 1, scratch.path(), "Folder", "default")}, registry);
  EXPECT_EQ(Stored(vars, "%Folder%"), "default");
}

TEST(RegKey, ReadsAndTypes) {
  ScratchKey scratch("regkey");
  const char unterminated[] = {'a', 'b', 'c'};
  RegSetValueExA(scratch.key(), "Raw", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated), 3);
  SetDword(HKEY_CURRENT_USER, scratch.path(), "Dword", 0x01020304);
  RegKey key;
  ASSERT_EQ(key.Open(HKEY_CURRENT_USER, scratch.path(), KEY_READ), ERROR_SUCCESS);
  std::string text;
  DWORD number = 0;
  EXPECT_EQ(key.ReadString("Raw", text), ERROR_SUCCESS);
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(key.ReadString("Dword", text), ERROR_UNSUPPORTED_TYPE);
  EXPECT_EQ(key.ReadDword("Raw", number), ERROR_UNSUPPORTED_TYPE);
  EXPECT_EQ(key.ReadDword("Dword", number), ERROR_SUCCESS);
  EXPECT_EQ(number, 0x01020304u);
  EXPECT_EQ(key.ReadString("Absent", text), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace kvb
