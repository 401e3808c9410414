// The installation engine against an in-memory machine: what a completed installation
// leaves (files, folders, items in order, shortcuts, registry, the entry and the log),
// the prompts it shows, and what cancelled or failed installations leave (nothing).
#include <gtest/gtest.h>

#include <algorithm>

#include "base/text.h"
#include "engine_fixture.h"
#include "install/install_rules.h"
#include "uninstall/uninstall_log.h"

namespace kvb::test {
namespace {

constexpr char kEntryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme Demo";

std::vector<std::string> Describe(const std::vector<TUninstItem>& items) {
  std::vector<std::string> out;
  for (const TUninstItem& item : items) {
    out.push_back(std::to_string(item.Kind) + " " +
                  (item.Kind == kItemRegistryValue
                       ? item.RegChange.Key + "|" + item.RegChange.ValueName
                       : item.Path));
  }
  return out;
}

TUninstallLog ReadLog(FakeInstallMachine& machine) {
  auto source = machine.OpenFile(std::string(kInstallDir) + "\\uninst.dat");
  EXPECT_TRUE(source);
  return source ? ReadUninstallLog(*source) : TUninstallLog{};
}

TEST_F(EngineTest, PlacesFilesShortcutsRegistryEntryAndLogInOrder) {
  AddFile("app.exe", "program");
  AddFile("readme.txt", "read me", "%InstallDir%\\Docs\\");
  AddFile("Demo.ico", "icon");
  AddFile("KVBUNINST.DAT", "uninstaller", "%WinDir%\\").File.Group = "uninstaller";
  AddShortcut("Readme", "readme.txt");
  AddRegChange(1, "\\Software\\Acme\\Demo\\", "Dir", 0, "%InstallDir%");
  auto engine = Install();
  ASSERT_FALSE(engine->Aborted());

  EXPECT_EQ(machine.files[Path("app.exe")].Content, "program");
  EXPECT_EQ(machine.files[Path("app.exe")].Date, kDate);
  EXPECT_EQ(machine.files[Path("Docs\\readme.txt")].Content, "read me");
  EXPECT_EQ(machine.files["C:\\Windows\\kvbuninst.exe"].Content, "uninstaller");
  EXPECT_EQ(engine->IconPath(), Path("Demo.ico"));
  EXPECT_EQ(machine.shortcuts["C:\\Menu\\Programs\\Demo\\Readme.lnk"].Target,
            Path("Docs\\readme.txt"));
  EXPECT_EQ(machine.Value(RegRoot::kCurrentUser, "Software\\Acme\\Demo", "Dir"),
            std::string(kInstallDir) + '\0');

  std::vector<std::string> expected = {
      "4 C:\\Program Files\\Demo",           "4 C:\\Program Files\\Demo\\Docs",
      "0 C:\\Program Files\\Demo\\app.exe",  "0 C:\\Program Files\\Demo\\Docs\\readme.txt",
      "2 C:\\Program Files\\Demo\\Demo.ico", "3 C:\\Windows\\kvbuninst.exe",
      "4 C:\\Menu\\Programs\\Demo",          "0 C:\\Menu\\Programs\\Demo\\Readme.lnk",
      "5 \\Software\\Acme\\Demo\\|Dir",
  };
  for (const char* name : {"DisplayName", "UninstallString", "DisplayVersion", "URLInfoAbout",
                           "HelpLink", "URLUpdateInfo", "Comments", "Contact", "InstallLocation",
                           "InstallSource", "Publisher", "DisplayIcon"}) {
    expected.push_back(std::string("5 ") + kEntryKey + "|" + name);
  }
  expected.push_back("2 C:\\Program Files\\Demo\\uninst.dat");
  EXPECT_EQ(Describe(engine->UninstItems()), expected);

  const TUninstallLog log = ReadLog(machine);
  EXPECT_EQ(Describe(log.Items), expected);
  EXPECT_EQ(log.SoftwareName, "Demo");
  EXPECT_EQ(log.IconPath, Path("Demo.ico"));
  EXPECT_EQ(log.SetupPath, kSetupPath);
  EXPECT_EQ(log.Messages[0], "%SoftwareName% Uninstaller");
  EXPECT_EQ(log.Items[3].File.SourceName, "readme.txt");

  EXPECT_EQ(
      machine.Value(RegRoot::kLocalMachine, kEntryKey, "UninstallString"),
      std::string("\"C:\\Windows\\kvbuninst.exe\" \"C:\\Program Files\\Demo\\uninst.dat\"") + '\0');
  EXPECT_EQ(machine.Value(RegRoot::kLocalMachine, kEntryKey, "DisplayName"),
            std::string("Demo 1.0") + '\0');
  EXPECT_EQ(machine.Value(RegRoot::kLocalMachine, kEntryKey, "InstallSource"),
            std::string("C:\\Downloads\\") + '\0');
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.positions.back(), 100);
}

TEST_F(EngineTest, SelectionAndGroupConditionsDecideWhatIsPlaced) {
  AddComponent("Program");
  AddComponent("Docs");
  vars->SelectedComponents = "Program";
  AddFile("app.exe", "p").File.Components = "Docs|Program";
  AddFile("manual.txt", "m", "%InstallDir%\\Docs\\").File.Components = "Docs";
  AddFile("nt.txt", "n").File.Group = "%IsNT% = 1|";
  AddFile("KVBUNINST.DAT", "u").File.Group = "Uninstaller";  // not exactly "uninstaller"
  AddShortcut("Manual", "manual.txt").Components = "Docs";
  auto engine = Install();
  EXPECT_TRUE(machine.FileExists(Path("app.exe")));
  EXPECT_FALSE(machine.FileExists(Path("Docs\\manual.txt")));
  EXPECT_FALSE(machine.FolderExists(Path("Docs")));
  EXPECT_FALSE(machine.FileExists(Path("nt.txt")));
  EXPECT_TRUE(machine.FileExists(Path("KVBUNINST.DAT")));
  EXPECT_FALSE(machine.FolderExists("C:\\Menu\\Programs\\Demo"));
}

// A folder list entry "%Var%\\" (the builder writes one for every folder variable) names
// the variable's folder: made and logged like the others, once, before its subfolders.
TEST_F(EngineTest, FolderVariableEntriesNameTheVariablesFolder) {
  vars->SetVariable("%MyDir%", "D:\\Data");
  AddFile("a.txt", "a", "%MyDir%\\bin\\");
  AddFile("b.txt", "b", "%MyDir%\\");
  data.FileFolders = {"%MyDir%\\bin", "%MyDir%\\", "%InstallDir%\\"};
  auto engine = Install();
  ASSERT_FALSE(engine->Aborted());
  EXPECT_EQ(machine.files["D:\\Data\\bin\\a.txt"].Content, "a");
  const std::vector<std::string> items = Describe(engine->UninstItems());
  const std::vector<std::string> folders(items.begin(), items.begin() + 3);
  EXPECT_EQ(folders, (std::vector<std::string>{"4 C:\\Program Files\\Demo", "4 D:\\Data",
                                               "4 D:\\Data\\bin"}));
  EXPECT_EQ(std::count(items.begin(), items.end(), "4 C:\\Program Files\\Demo"), 1);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(EngineTest, OverwritePromptNamesTheFileAndRemembersTheAnswer) {
  AddFile("a.txt", "new a", "%InstallDir%\\", 7);
  AddFile("b.txt", "new b", "%InstallDir%\\", 7);
  AddFile("c.txt", "new c", "%InstallDir%\\", 7);
  machine.AddFile(Path("a.txt"), "old a", 100);
  machine.AddFile(Path("b.txt"), "old b");
  machine.AddFile(Path("c.txt"), "old c");
  host.answers = {PromptAnswer::kNo, PromptAnswer::kYesToAll};
  auto engine = Install();
  ASSERT_EQ(host.prompts.size(), 2u);
  const OverwritePrompt& prompt = host.prompts[0];
  EXPECT_EQ(prompt.Message, "The file a.txt already exists. Do you want to replace this file?");
  EXPECT_EQ(prompt.ExistingFile, Path("a.txt"));
  EXPECT_EQ(prompt.YesToAllCaption, "Yes To All");
  EXPECT_EQ(prompt.DestinationLabel, "Destination File");
  EXPECT_EQ(prompt.NewFileSize, 5u);
  EXPECT_EQ(machine.files[Path("a.txt")].Content, "old a");
  EXPECT_EQ(machine.files[Path("b.txt")].Content, "new b");
  EXPECT_EQ(machine.files[Path("c.txt")].Content, "new c");
  // The kept file is not logged: it was not placed by this installation.
  for (const TUninstItem& item : engine->UninstItems())
    EXPECT_NE(item.Path, Path("a.txt"));
}

TEST_F(EngineTest, RegistryChangesEncodeTypesKeepTheRootAndReportFailuresOnce) {
  AddRegChange(2, "Software\\Acme", "Bin", 2, "4B 56 42");
  AddRegChange(7, "Software\\Acme", "Multi", 3, "a;b");  // unknown root keeps HKLM
  AddRegChange(2, "Software\\Bad", "X", 0, "x");
  AddRegChange(2, "Software\\Bad", "Y", 0, "y");
  AddRegChange(1, "Software\\Acme\\%SoftwareName%", "Count", 1, "-5");
  machine.unwritable_keys.insert(
      FakeInstallMachine::KeyId(RegRoot::kLocalMachine, "Software\\Bad"));
  auto engine = Install();
  EXPECT_EQ(machine.Value(RegRoot::kLocalMachine, "Software\\Acme", "Bin"), "KVB");
  EXPECT_EQ(machine.Value(RegRoot::kLocalMachine, "Software\\Acme", "Multi"),
            std::string("a\0b\0\0", 5));
  EXPECT_EQ(machine.Value(RegRoot::kCurrentUser, "Software\\Acme\\Demo", "Count"),
            std::string("\5\0\0\0", 4));
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Error changing Windows Registry."});
  // The items carry the expanded texts and the root actually used; failed values are not logged.
  std::vector<TSetupRegChange> logged;
  for (const TUninstItem& item : engine->UninstItems()) {
    if (item.Kind == kItemRegistryValue &&
        !StartsWithText(item.RegChange.Key, "Software\\Microsoft"))
      logged.push_back(item.RegChange);
  }
  ASSERT_EQ(logged.size(), 3u);
  EXPECT_EQ(logged[1].Root, 2);
  EXPECT_EQ(logged[2].Key, "Software\\Acme\\Demo");
}

TEST_F(EngineTest, ShortcutTargetsAndTheUninstallerShortcut) {
  AddFile("tool.exe", "t", "%InstallDir%\\Bin\\");
  AddShortcut("Tool", "tool.exe").Arguments = "/x %SoftwareName%";
  AddShortcut("Remove", "UNINSTALLER");
  AddShortcut("Notepad", "%WinDir%\\notepad.exe");
  auto engine = Install();
  const ShortcutSpec& tool = machine.shortcuts["C:\\Menu\\Programs\\Demo\\Tool.lnk"];
  EXPECT_EQ(tool.Target, Path("Bin\\tool.exe"));
  EXPECT_EQ(tool.WorkingDir, Path("Bin\\"));
  EXPECT_EQ(tool.Arguments, "/x Demo");
  const ShortcutSpec& remove = machine.shortcuts["C:\\Menu\\Programs\\Demo\\Remove.lnk"];
  EXPECT_EQ(remove.Target, "C:\\Windows\\kvbuninst.exe");
  EXPECT_EQ(remove.Arguments, "\"C:\\Program Files\\Demo\\uninst.dat\"");
  EXPECT_EQ(machine.shortcuts["C:\\Menu\\Programs\\Demo\\Notepad.lnk"].Target,
            "C:\\Windows\\notepad.exe");
}

TEST_F(EngineTest, FailingShortcutsAreReportedOnceAndNotLogged) {
  AddShortcut("One", "a.exe");
  AddShortcut("Two", "b.exe");
  machine.shortcuts_fail = true;
  auto engine = Install();
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Error creating Windows shortcuts."});
  for (const TUninstItem& item : engine->UninstItems())
    EXPECT_FALSE(StartsWithText(item.Path, "C:\\Menu\\Programs\\Demo\\"));
  EXPECT_FALSE(engine->Aborted());
}

TEST_F(EngineTest, ForbiddenInstallFoldersAreRefusedBeforeAnythingIsWritten) {
  AddFile("a.txt", "a");
  for (const char* folder : {"C:\\", "C:\\Windows", "c:\\windows\\system32\\", ""}) {
    FakeInstallHost fresh;
    host = fresh;
    vars->SetVariable("%InstallDir%", folder);
    const auto before = machine.Snapshot();
    auto engine = Install();
    EXPECT_TRUE(engine->Aborted()) << folder;
    EXPECT_EQ(machine.Snapshot(), before) << folder;
    ASSERT_EQ(host.messages.size(), 1u) << folder;
    EXPECT_NE(host.messages[0].first.find("cannot install into"), std::string::npos);
  }
}

TEST_F(EngineTest, AFileInUseIsReplacedAtTheNextRestart) {
  AddFile("busy.dll", "new");
  machine.AddFile(Path("busy.dll"), "old");
  machine.files[Path("busy.dll")].InUse = true;
  auto engine = Install();
  ASSERT_FALSE(engine->Aborted());
  EXPECT_EQ(
      host.MessageTexts(),
      std::vector<std::string>{"Setup cannot create the file C:\\Program Files\\Demo\\busy.dll. "
                               "This file must be in use or protected."});
  EXPECT_EQ(machine.files[Path("busy.dll")].Content, "old");
  EXPECT_EQ(machine.files[Path("busy.dll.kvbnew")].Content, "new");
  ASSERT_EQ(machine.pending.size(), 1u);
  EXPECT_EQ(machine.pending[0].second, Path("busy.dll"));
  EXPECT_EQ(vars->ExpandText("%DoReboot%"), "1");
  EXPECT_EQ(engine->UninstItems()[1].Path, Path("busy.dll"));
}

TEST_F(EngineTest, ReadOnlyAndProtectedTargetsAreLeftAlone) {
  AddFile("ro.txt", "new");
  AddFile("sys.dll", "new");
  machine.AddFile(Path("ro.txt"), "old");
  machine.files[Path("ro.txt")].ReadOnly = true;
  machine.AddFile(Path("sys.dll"), "old");
  machine.protected_files.insert(Path("sys.dll"));
  auto engine = Install();
  EXPECT_EQ(machine.files[Path("ro.txt")].Content, "old");
  EXPECT_EQ(machine.files[Path("sys.dll")].Content, "old");
  EXPECT_EQ(host.messages.size(), 1u);  // message 66 for the read-only file only
  for (const TUninstItem& item : engine->UninstItems())
    EXPECT_EQ(item.Kind == kItemFile, false) << item.Path;
}

TEST_F(EngineTest, RegistrationPassCountsRegistersAndReportsFailures) {
  auto& shared = AddFile("shared.dll", "s");
  shared.File.SharedFile = 1;
  shared.File.SelfRegister = 1;
  AddFile("lib.tlb", "t").File.TypeLibrary = 1;
  auto& font = AddFile("demo.ttf", "f", "%WinDir%\\Fonts\\");
  font.File.FontFlag = 1;
  font.File.FontName = "Demo Font (TrueType)";
  AddFile("bad.ocx", "b").File.ActiveX = 1;
  machine.failing_servers.insert(Path("bad.ocx"));
  auto engine = Install();
  EXPECT_EQ(machine.calls,
            (std::vector<std::string>{
                "shared " + Path("shared.dll"), "register-server " + Path("shared.dll"),
                "register-typelib " + Path("lib.tlb"), "font Demo Font (TrueType)",
                "register-server " + Path("bad.ocx")}));
  EXPECT_EQ(host.MessageTexts(),
            std::vector<std::string>{"Register Server Error: " + Path("bad.ocx")});
  EXPECT_EQ(machine.Value(RegRoot::kLocalMachine, kSharedDllsKey, Path("shared.dll")),
            std::string("\1\0\0\0", 4));
}

TEST_F(EngineTest, MaintenanceRunLogsThePreviousItemsFirstAndTheEntryOnlyOnce) {
  maintenance = true;
  AddComponent("Extra");
  new_components = "Extra";
  previous_items = {PathItem(kItemFolder, kInstallDir), PathItem(kItemFile, Path("old.exe"))};
  AddFile("old.exe", "o");
  AddFile("extra.txt", "e").File.Components = "Extra";
  machine.folders.insert(kInstallDir);
  auto engine = Install();
  EXPECT_FALSE(machine.FileExists(Path("old.exe")));  // not newly selected
  EXPECT_TRUE(machine.FileExists(Path("extra.txt")));
  const TUninstallLog log = ReadLog(machine);
  EXPECT_EQ(
      Describe(log.Items),
      (std::vector<std::string>{"4 C:\\Program Files\\Demo", "0 C:\\Program Files\\Demo\\old.exe",
                                "0 C:\\Program Files\\Demo\\extra.txt"}));
  EXPECT_TRUE(machine.Value(RegRoot::kLocalMachine, kEntryKey, "DisplayName").has_value());
}

TEST_F(EngineTest, ReinstallKeepsTheEarlierItemsThatStillExistAndNeverAUsersFile) {
  AddFile("a.txt", "a1");
  AddFile("b.txt", "b1", "%InstallDir%\\", kModeKeep);
  AddFile("s.dll", "s1").File.SharedFile = 1;
  Install();
  // The second package no longer has c.txt's place; the user added mine.txt and deleted d.
  machine.AddFile(Path("mine.txt"), "user");
  data.DeviceFiles.clear();
  entries.clear();
  AddFile("a.txt", "a2");
  AddFile("b.txt", "b2", "%InstallDir%\\", kModeKeep);
  AddFile("mine.txt", "m", "%InstallDir%\\", kModeKeep);
  AddFile("s.dll", "s2").File.SharedFile = 1;
  FakeInstallHost fresh;
  host = fresh;
  Install();
  EXPECT_EQ(machine.files[Path("a.txt")].Content, "a2");
  EXPECT_EQ(machine.files[Path("b.txt")].Content, "b1");
  const std::vector<std::string> items = Describe(ReadLog(machine).Items);
  auto count = [&](const std::string& line) {
    return std::count(items.begin(), items.end(), line);
  };
  EXPECT_EQ(count("0 " + Path("a.txt")), 1);
  EXPECT_EQ(count("0 " + Path("b.txt")), 1);  // kept by its mode, still the first run's
  EXPECT_EQ(count("0 " + Path("mine.txt")), 0);
  EXPECT_EQ(count("2 " + Path("uninst.dat")), 1);
  EXPECT_EQ(count(std::string("5 ") + kEntryKey + "|DisplayName"), 1);
  // The same product installed again does not count its shared file twice.
  EXPECT_EQ(machine.Value(RegRoot::kLocalMachine, kSharedDllsKey, Path("s.dll")),
            std::string("\1\0\0\0", 4));
}

TEST_F(EngineTest, ReinstallKeepsTheFoldersInTheOrderTheyWereCreated) {
  AddFile("a.txt", "a1");
  AddFile("r.txt", "r1", "%InstallDir%\\Docs\\", kModeKeep);
  Install();
  // Installed again: the installation folder is placed again, Docs only kept.
  FakeInstallHost fresh;
  host = fresh;
  Install();
  std::vector<std::string> folders;
  for (const std::string& line : Describe(ReadLog(machine).Items)) {
    if (line.starts_with("4 "))
      folders.push_back(line);
  }
  EXPECT_EQ(folders, (std::vector<std::string>{"4 " + std::string(kInstallDir),
                                               "4 " + Path("Docs")}));
}

}  // namespace
}  // namespace kvb::test
