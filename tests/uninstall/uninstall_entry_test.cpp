// The installed-programs entry: its key, the DisplayVersion test and the log path taken
// from the uninstall command.
#include <gtest/gtest.h>

#include "uninstall/fake_removal_machine.h"
#include "uninstall/uninstall_entry.h"

namespace kvb {
namespace {

constexpr char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kvb Co Sample";

TEST(UninstallEntryTest, EntryNeedsItsDisplayVersion) {
  FakeRemovalMachine machine;
  EXPECT_EQ(UninstallEntryKey("Sample", "Kvb Co"), kKey);
  EXPECT_FALSE(FindUninstallEntry(machine, "Sample", "Kvb Co"));
  machine.SetValue(RegRoot::kLocalMachine, kKey, "DisplayName", "Sample");
  EXPECT_FALSE(FindUninstallEntry(machine, "Sample", "Kvb Co"));
  machine.SetValue(RegRoot::kLocalMachine, kKey, "DisplayVersion", "1.0");
  EXPECT_TRUE(FindUninstallEntry(machine, "Sample", "Kvb Co"));
  EXPECT_FALSE(FindUninstallEntry(machine, "Kvb Co", "Sample"));
}

TEST(UninstallEntryTest, LogPathIsTheSecondParameter) {
  struct Case {
    const char* command;
    const char* log;
  } cases[] = {
      {"\"C:\\Windows\\kvbuninst.exe\" \"C:\\Program Files\\Sample\\uninst.dat\"",
       "C:\\Program Files\\Sample\\uninst.dat"},
      {"C:\\Windows\\kvbuninst.exe C:\\Sample\\uninst.dat /S", "C:\\Sample\\uninst.dat"},
      {"  kvbuninst.exe   \"C:\\A B\\uninst.dat\"", "C:\\A B\\uninst.dat"},
      {"C:\\Windows\\kvbuninst.exe", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    FakeRemovalMachine machine;
    machine.SetValue(RegRoot::kLocalMachine, kKey, "UninstallString", c.command);
    EXPECT_EQ(GetUninstallLogPath(machine, "Sample", "Kvb Co"), c.log) << c.command;
  }
  FakeRemovalMachine empty;
  EXPECT_EQ(GetUninstallLogPath(empty, "Sample", "Kvb Co"), "");
}

}  // namespace
}  // namespace kvb
