// A script's removal of a product in a setup run: the entry and log tests, the scripts'
// stop rule, the result variable, and the run's own state kept apart from the removed
// product's log.
#include <gtest/gtest.h>

#include "uninstall/fake_removal_machine.h"
#include "uninstall/log_files.h"
#include "uninstall/test_items.h"
#include "uninstall/uninstall_entry.h"
#include "uninstall/uninstall_product.h"
#include "vars/variables.h"

namespace kvb {
namespace {

class RecordingDisplay : public RemovalDisplay {
 public:
  std::vector<std::string> calls;
  void Begin(const std::string& status, const std::string& button) override {
    calls.push_back("begin " + status + " | " + button);
  }
  void SetMaximum(int maximum) override { calls.push_back("max " + std::to_string(maximum)); }
  void SetPosition(int position) override { last_position = position; }
  void End() override { calls.push_back("end"); }
  void ProcessMessages() override {}
  void ShowError(const std::string& text) override { calls.push_back("error " + text); }
  int last_position = -1;
};

class UninstallProductTest : public ::testing::Test {
 protected:
  UninstallProductTest() {
    data.Properties.SoftwareName = vars.SoftwareName = "Sample";
    data.Properties.CompanyName = vars.CompanyName = "Kvb";
    data.LanguageLessMessages.Texts[1] = "Cancel";
    data.LanguageLessMessages.Texts[38] = "Uninstalling %SoftwareName%...";
    data.LanguageLessMessages.Texts[59] = "Uninstalling %SoftwareName% Components...";
    vars.List().AddLine("%InstallDir%=C:\\Sample");
    vars.SetVariable("%Result%", "unset");
    state.Data.Items = {FileItem("C:\\Sample\\main.exe", "")};
    state.Data.InstalledComponents = "Docs";
    machine.AddFile("C:\\Sample\\main.exe");
    run.RunScript = [this](const TScript& script) {
      scripts.push_back(script.Statements.empty()
                            ? ""
                            : script.Statements[0].Args[0] + " " + vars.ExpandText("%Mark%"));
      return script_results.empty() || script_results[scripts.size() - 1];
    };
  }

  // Installs a product: its entry, its log file and the files its items name.
  std::string Install(const std::string& software, TUninstallLog log) {
    const std::string path = folder.Write(software + ".dat", WriteUninstallLog(log));
    const std::string key = UninstallEntryKey(software, "Kvb");
    machine.SetValue(RegRoot::kLocalMachine, key, "DisplayVersion", "1.0");
    machine.SetValue(RegRoot::kLocalMachine, key, "UninstallString",
                     "\"C:\\Windows\\kvbuninst.exe\" \"" + path + "\"");
    machine.AddFile(path);
    for (const TUninstItem& item : log.Items) {
      if (item.Kind == kItemFile)
        machine.AddFile(item.Path);
    }
    return path;
  }

  TUninstallLog OtherLog() {
    TUninstallLog log = ProductLog("Other", "C:\\Other");
    log.BeforeScript = NamedScript("before");
    log.AfterScript = NamedScript("after");
    log.Items = {FolderItem("C:\\Other"), FileItem("C:\\Other\\a.txt", "Extra")};
    return log;
  }

  void Uninstall(const std::string& software) {
    UninstallProduct(run, "%Result%", software, "Kvb");
  }

  ScratchFolder folder{"product"};
  FakeRemovalMachine machine;
  Variables vars;
  TSetupData data;
  UninstallerState state;
  RecordingDisplay display;
  ProductRemovalRun run{state, data, vars, machine, display, "Sample Setup"};
  std::vector<std::string> scripts;
  std::vector<bool> script_results;
};

TEST_F(UninstallProductTest, RemovesAnotherProductAndKeepsTheRunsOwnState) {
  Install("Other", OtherLog());

  Uninstall("Other");

  EXPECT_FALSE(machine.FileExists("C:\\Other\\a.txt"));
  EXPECT_FALSE(machine.FolderExists("C:\\Other"));
  EXPECT_EQ(vars.ExpandText("%Result%"), "2");
  EXPECT_TRUE(state.Data.NotRemoved.empty());
  // The log's scripts ran with the log's variables applied ...
  EXPECT_EQ(scripts, (std::vector<std::string>{"before Other", "after Other"}));
  EXPECT_EQ(display.calls, (std::vector<std::string>{"begin Uninstalling Other... | Uninstalling "
                                                     "Other Components...",
                                                     "max 2", "end"}));
  EXPECT_EQ(display.last_position, 2);
  // ... and afterwards the run is its own again, its previous installation untouched.
  EXPECT_EQ(vars.SoftwareName, "Sample");
  EXPECT_EQ(vars.ExpandText("%InstallDir%"), "C:\\Sample");
  EXPECT_EQ(vars.ExpandText("%Mark%"), "%Mark%");
  EXPECT_EQ(data.Properties.SoftwareName, "Sample");
  ASSERT_EQ(state.Data.Items.size(), 1u);
  EXPECT_EQ(state.Data.InstalledComponents, "Docs");
  EXPECT_TRUE(machine.FileExists("C:\\Sample\\main.exe"));
  EXPECT_FALSE(state.OwnProductRemoved);
}

TEST_F(UninstallProductTest, WhatStaysIsTheRunsToShow) {
  Install("Other", OtherLog());
  machine.AddFile("C:\\Other\\notes.txt");
  Uninstall("Other");
  EXPECT_EQ(state.Data.NotRemoved, std::vector<std::string>{"C:\\Other\\"});
}

TEST_F(UninstallProductTest, NothingHappensWithoutEntryOrLog) {
  const std::string path = Install("Other", OtherLog());
  machine.DeleteValue(RegRoot::kLocalMachine, UninstallEntryKey("Other", "Kvb"), "DisplayVersion");
  Uninstall("Other");
  machine.SetValue(RegRoot::kLocalMachine, UninstallEntryKey("Other", "Kvb"), "DisplayVersion");
  machine.RemoveFile(path);
  Uninstall("Other");

  EXPECT_EQ(vars.ExpandText("%Result%"), "unset");
  EXPECT_TRUE(display.calls.empty());
  EXPECT_TRUE(machine.FileExists("C:\\Other\\a.txt"));
}

TEST_F(UninstallProductTest, UnusableLogIsReportedAndChangesNothing) {
  const std::string path = Install("Other", OtherLog());
  folder.Write("Other.dat", "iUNS and more");

  Uninstall("Other");

  EXPECT_EQ(display.calls, std::vector<std::string>{"error Invalid Uninstaller Script."});
  EXPECT_EQ(vars.ExpandText("%Result%"), "0");
  EXPECT_TRUE(scripts.empty());
  EXPECT_TRUE(machine.FileExists("C:\\Other\\a.txt"));
  (void)path;
}

TEST_F(UninstallProductTest, StoppingBeforeScriptRemovesNothing) {
  Install("Other", OtherLog());
  script_results = {false};
  vars.SetVariable("%CanClose%", "1");

  Uninstall("Other");

  EXPECT_EQ(scripts, std::vector<std::string>{"before Other"});
  EXPECT_TRUE(machine.FileExists("C:\\Other\\a.txt"));
  EXPECT_EQ(vars.ExpandText("%Result%"), "unset");
  EXPECT_EQ(display.calls.back(), "end");
  EXPECT_EQ(vars.SoftwareName, "Sample");
}

TEST_F(UninstallProductTest, BeforeScriptStoppedWithCanCloseZeroGoesOn) {
  TUninstallLog log = OtherLog();
  log.Variables.push_back("%CanClose%=0");
  Install("Other", log);
  script_results = {false, true};

  Uninstall("Other");

  EXPECT_FALSE(machine.FileExists("C:\\Other\\a.txt"));
  EXPECT_EQ(vars.ExpandText("%Result%"), "2");
}

TEST_F(UninstallProductTest, LogWithoutItemsFails) {
  TUninstallLog log = OtherLog();
  log.Items.clear();
  Install("Other", log);
  Uninstall("Other");
  EXPECT_EQ(vars.ExpandText("%Result%"), "0");
  EXPECT_EQ(scripts.size(), 2u);
}

TEST_F(UninstallProductTest, OwnProductIsRemovedOnlyOnce) {
  TUninstallLog log = ProductLog("Sample", "C:\\Sample");
  log.Items = {FileItem("C:\\Sample\\main.exe", "")};
  Install("Sample", log);

  Uninstall("Sample");
  EXPECT_FALSE(machine.FileExists("C:\\Sample\\main.exe"));
  EXPECT_TRUE(state.OwnProductRemoved);
  EXPECT_TRUE(state.Data.Items.empty());
  EXPECT_EQ(display.calls.front(), "begin Uninstalling Sample... | Cancel");

  vars.SetVariable("%Result%", "unset");
  machine.AddFile("C:\\Sample\\main.exe");
  Uninstall("Sample");
  EXPECT_EQ(vars.ExpandText("%Result%"), "unset");
  EXPECT_TRUE(machine.FileExists("C:\\Sample\\main.exe"));
}

}  // namespace
}  // namespace kvb
