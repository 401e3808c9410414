// RemoveItems against an in-memory machine: what goes, what stays and is reported, the
// questions and their remembered answers, the registry key chain, the progress and the
// maintenance run's item list.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/text.h"
#include "uninstall/fake_removal_machine.h"
#include "uninstall/remove_items.h"
#include "uninstall/test_items.h"
#include "vars/fake_machine.h"
#include "vars/variables.h"

namespace kvb {
namespace {

UninstallerTexts EnglishTexts() {
  UninstallerTexts t;
  t[kTextSharedQuestion] = "<file> is a shared file. Do you want to delete this file?";
  t[kTextTypeLibraryQuestion] = "<file> is a type library. Do you want to delete this file?";
  t[kTextServerQuestion] = "<file> is a ActiveX file. Do you want to delete this file?";
  t[kTextKey] = "Key:";
  t[kTextValue] = "Value:";
  t[kTextConduit] = "Conduit:";
  t[kTextYes] = "Yes";
  t[kTextYesToAll] = "Yes To All";
  t[kTextNo] = "No";
  t[kTextNoToAll] = "No To All";
  t[kTextExistingFile] = "Existent File";
  return t;
}

class RemoveItemsTest : public ::testing::Test {
 protected:
  bool Remove(const RemovalSelection& selection) {
    RemovalContext context(machine, vars, texts, "Sample Setup");
    context.Prompt = &prompt;
    context.Conduits = &conduits;
    context.Maintenance = maintenance;
    RemovalCallbacks callbacks;
    callbacks.OnNotRemoved = [this](const std::string& text) { reported.push_back(text); };
    callbacks.OnProgress = [this](size_t total, size_t done) {
      progress.push_back(done);
      totals.push_back(total);
      return progress.size() != stop_after;
    };
    return RemoveItems(context, items, not_removed, selection, callbacks);
  }

  bool RemoveAll() { return Remove({true, "", ""}); }

  TUninstItem SharedFile(const std::string& path, int count) {
    TUninstItem item = FileItem(path, "");
    item.File.SharedFile = 1;
    machine.AddFile(path);
    if (count > 0)
      machine.shared_counts[UpperText(path)] = count;
    return item;
  }

  bool InJournal(const std::string& entry) const {
    return std::find(machine.journal.begin(), machine.journal.end(), entry) !=
           machine.journal.end();
  }
  // Where the entry stands in the journal; a missing entry fails the test.
  size_t JournalIndex(const std::string& entry) const {
    const auto it = std::find(machine.journal.begin(), machine.journal.end(), entry);
    if (it == machine.journal.end())
      ADD_FAILURE() << "not in the journal: " << entry;
    return it - machine.journal.begin();
  }

  FakeRemovalMachine machine;
  Variables vars;
  UninstallerTexts texts = EnglishTexts();
  ScriptedPrompt prompt;
  FakeConduits conduits;
  bool maintenance = false;
  size_t stop_after = 0;  // 0: never stop
  std::vector<TUninstItem> items;
  std::vector<std::string> not_removed{"left from before"};
  std::vector<std::string> reported;
  std::vector<size_t> progress;
  std::vector<size_t> totals;
};

TEST_F(RemoveItemsTest, EmptyLogDoesNothingAndFails) {
  EXPECT_FALSE(RemoveAll());
  EXPECT_TRUE(progress.empty());
  EXPECT_EQ(not_removed, std::vector<std::string>{"left from before"});
}

TEST_F(RemoveItemsTest, CompleteRemovalLeavesNothingButTheUninstaller) {
  machine.AddFile("C:\\App\\Data\\a.dat");
  machine.AddFile("C:\\App\\main.exe");
  machine.AddFile("C:\\App\\uninst.dat");
  machine.AddFile("C:\\Windows\\kvbuninst.exe");
  machine.SetValue(RegRoot::kLocalMachine, "Software\\Kvb\\Sample", "Path");
  machine.SetValue(RegRoot::kCurrentUser, "Software\\Kvb\\Sample", "Mode");
  items = {FolderItem("C:\\App"),
           FolderItem("C:\\App\\Data"),
           FileItem("C:\\App\\main.exe", ""),
           FileItem("C:\\App\\Data\\a.dat", "Docs"),
           PathItem(kItemUninstaller, "C:\\Windows\\kvbuninst.exe"),
           PathItem(kItemConduit, "KVBS"),
           ValueItem(2, "\\Software\\Kvb\\Sample\\", "Path"),
           ValueItem(1, "Software\\Kvb\\Sample", "Mode", "Docs"),
           PathItem(kItemPlainFile, "C:\\App\\uninst.dat")};

  EXPECT_TRUE(RemoveAll());

  EXPECT_FALSE(machine.FolderExists("C:\\App"));
  EXPECT_TRUE(machine.FileExists("C:\\Windows\\kvbuninst.exe"));
  EXPECT_FALSE(machine.HasKey(RegRoot::kLocalMachine, "Software\\Kvb"));
  EXPECT_FALSE(machine.HasKey(RegRoot::kCurrentUser, "Software\\Kvb"));
  EXPECT_TRUE(machine.HasKey(RegRoot::kCurrentUser, "Software"));
  EXPECT_EQ(conduits.removed, std::vector<std::string>{"KVBS"});
  EXPECT_TRUE(not_removed.empty());
  EXPECT_EQ(items.size(), 9u);  // not a maintenance run: the list stays
  // Files before folders (deepest folder first), values before their keys.
  EXPECT_LT(JournalIndex("remove-file C:\\App\\Data\\a.dat"),
            JournalIndex("remove-folder C:\\App\\Data"));
  EXPECT_LT(JournalIndex("remove-folder C:\\App\\Data"), JournalIndex("remove-folder C:\\App"));
  EXPECT_LT(JournalIndex("delete-value Software\\Kvb\\Sample|Path"),
            JournalIndex("delete-key Software\\Kvb\\Sample"));
  // Progress: the start, one report per counted item (all but the uninstaller), the end.
  EXPECT_EQ(progress, (std::vector<size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_TRUE(std::all_of(totals.begin(), totals.end(), [](size_t t) { return t == 9; }));
}

TEST_F(RemoveItemsTest, WhatStaysIsReportedAndTheRemovalGoesOn) {
  machine.AddFile("C:\\App\\kept.txt");  // a file the log does not name
  machine.AddFile("C:\\App\\locked.dll");
  machine.AddFile("C:\\App\\gone.txt");
  machine.locked_files.insert("C:\\APP\\LOCKED.DLL");
  machine.SetValue(RegRoot::kClassesRoot, ".kvb", "");
  machine.locked_values.insert(".KVB|");
  machine.SetValue(RegRoot::kCurrentUser, "Software\\Kvb", "Other");
  machine.SetValue(RegRoot::kCurrentUser, "Software\\Kvb\\Locked", "V");
  machine.locked_keys.insert("SOFTWARE\\KVB\\LOCKED");
  conduits.succeed = false;
  items = {FolderItem("C:\\App"),
           FileItem("C:\\App\\locked.dll", ""),
           FileItem("C:\\App\\gone.txt", ""),
           FileItem("..\\outside.txt", ""),
           PathItem(kItemConduit, "KVBS"),
           ValueItem(0, ".kvb", ""),
           ValueItem(1, "Software\\Kvb\\Locked", "V"),
           ValueItem(7, "Software\\Kvb", "Lost")};

  EXPECT_TRUE(RemoveAll());

  EXPECT_FALSE(machine.FileExists("C:\\App\\gone.txt"));
  EXPECT_TRUE(machine.FileExists("C:\\App\\kept.txt"));
  EXPECT_TRUE(machine.HasValue(RegRoot::kCurrentUser, "Software\\Kvb", "Other"));
  const std::vector<std::string> expected = {
      "C:\\App\\locked.dll",
      "..\\outside.txt",
      "Conduit: KVBS",
      "C:\\App\\",
      "Key: HKEY_CLASSES_ROOT\\.kvb    Value: ",
      "Key: root 7\\Software\\Kvb    Value: Lost",
      "Key: HKEY_CURRENT_USER\\Software\\Kvb\\Locked",
  };
  EXPECT_EQ(not_removed, expected);
  EXPECT_EQ(reported, expected);
  // The key with another value stays without being reported; nothing outside the
  // removable paths was touched.
  EXPECT_FALSE(InJournal("delete-key Software\\Kvb"));
  EXPECT_FALSE(InJournal("remove-file ..\\outside.txt"));
}

TEST_F(RemoveItemsTest, KeyChainGoesAsFarAsKeysBecomeEmpty) {
  machine.SetValue(RegRoot::kCurrentUser, "Software\\Kvb\\Sample\\Deep", "A");
  machine.SetValue(RegRoot::kCurrentUser, "Software\\Kvb\\Sample", "Stays");
  machine.SetValue(RegRoot::kCurrentUser, "Software\\Kvb\\Sample\\Sibling\\Deep", "B");
  machine.SetValue(RegRoot::kCurrentUser, "Software\\Kvb\\Sample\\Sibling\\Deep2", "C");
  items = {ValueItem(1, "Software\\Kvb\\Sample\\Deep", "A"),
           ValueItem(1, "Software\\Kvb\\Sample\\Sibling\\Deep", "B")};

  EXPECT_TRUE(RemoveAll());

  EXPECT_FALSE(machine.HasKey(RegRoot::kCurrentUser, "Software\\Kvb\\Sample\\Deep"));
  EXPECT_FALSE(machine.HasKey(RegRoot::kCurrentUser, "Software\\Kvb\\Sample\\Sibling\\Deep"));
  EXPECT_TRUE(machine.HasKey(RegRoot::kCurrentUser, "Software\\Kvb\\Sample\\Sibling\\Deep2"));
  EXPECT_TRUE(machine.HasValue(RegRoot::kCurrentUser, "Software\\Kvb\\Sample", "Stays"));
  EXPECT_TRUE(not_removed.empty());
}

TEST_F(RemoveItemsTest, KeysOfTheSystemStayWhenEmptied) {
  const std::string entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme Sample";
  machine.SetValue(RegRoot::kLocalMachine, entry, "DisplayName");
  items = {ValueItem(2, entry, "DisplayName")};
  EXPECT_TRUE(RemoveAll());
  EXPECT_FALSE(machine.HasKey(RegRoot::kLocalMachine, entry));
  EXPECT_TRUE(machine.HasKey(RegRoot::kLocalMachine,
                             "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
  EXPECT_TRUE(machine.HasKey(RegRoot::kLocalMachine, "Software"));
}

TEST_F(RemoveItemsTest, SharedFilesGoOnlyWhenNoOtherProductCountsThem) {
  items = {FolderItem("C:\\Common"), SharedFile("C:\\Common\\still.dll", 2),
           SharedFile("C:\\Common\\last.dll", 1), SharedFile("C:\\Common\\uncounted.dll", 0)};
  prompt.answers = {FileAnswer::kYes, FileAnswer::kNo};

  EXPECT_TRUE(RemoveAll());

  EXPECT_TRUE(machine.FileExists("C:\\Common\\still.dll"));
  EXPECT_EQ(machine.shared_counts[UpperText("C:\\Common\\still.dll")], 1);
  EXPECT_FALSE(machine.FileExists("C:\\Common\\last.dll"));
  EXPECT_EQ(machine.shared_counts.count(UpperText("C:\\Common\\last.dll")), 0u);
  EXPECT_TRUE(machine.FileExists("C:\\Common\\uncounted.dll"));  // answered No
  ASSERT_EQ(prompt.asked.size(), 2u);
  const FileActionQuestion& q = prompt.asked[0];
  EXPECT_EQ(q.Message, "C:\\Common\\last.dll is a shared file. Do you want to delete this file?");
  EXPECT_EQ(q.Caption, "Sample Setup");
  EXPECT_EQ(q.File, "C:\\Common\\last.dll");
  EXPECT_EQ(q.FileLabel, "Existent File");
  EXPECT_EQ(q.YesToAllCaption, "Yes To All");
  EXPECT_EQ(q.NoToAllCaption, "No To All");
  // Neither a file the user keeps nor the folder that stays for files other products use
  // is a failure.
  EXPECT_TRUE(not_removed.empty());
}

// A shared file's folder created by a product removed earlier goes with the file's last
// user; the system's folders stay.
TEST_F(RemoveItemsTest, EmptiedFolderOfASharedFileGoesWithItsLastUser) {
  FakeMachine facts;
  facts.folders[MachineFolder::kCommonFiles] = "C:\\Program Files\\Common Files";
  Variables machine_vars(&facts);
  items = {SharedFile("C:\\Program Files\\Common Files\\Acme\\a.dll", 1),
           SharedFile("C:\\Program Files\\Common Files\\b.dll", 1),
           SharedFile("C:\\Program Files\\Common Files\\Kept\\c.dll", 2)};
  RemovalContext context(machine, machine_vars, texts, "Sample Setup");
  EXPECT_TRUE(RemoveItems(context, items, not_removed, {true, "", ""}));
  EXPECT_FALSE(machine.FolderExists("C:\\Program Files\\Common Files\\Acme"));
  EXPECT_TRUE(machine.FolderExists("C:\\Program Files\\Common Files\\Kept"));
  EXPECT_TRUE(machine.FolderExists("C:\\Program Files\\Common Files"));
  EXPECT_FALSE(InJournal("remove-folder C:\\Program Files\\Common Files"));
}

TEST_F(RemoveItemsTest, WithoutSharedCountsEverySharedFileIsAsked) {
  machine.windows_major = 3;
  items = {SharedFile("C:\\Common\\a.dll", 2)};
  prompt.answers = {FileAnswer::kYes};
  EXPECT_TRUE(RemoveAll());
  EXPECT_EQ(prompt.asked.size(), 1u);
  EXPECT_FALSE(machine.FileExists("C:\\Common\\a.dll"));
  EXPECT_FALSE(InJournal("release C:\\Common\\a.dll"));
}

TEST_F(RemoveItemsTest, NoToAllKeepsFurtherSharedFilesButOtherQuestionsAreStillAsked) {
  items = {SharedFile("C:\\Common\\a.dll", 0), SharedFile("C:\\Common\\b.dll", 0),
           FileItem("C:\\App\\types.tlb", ""), FileItem("C:\\App\\ctl.ocx", ""),
           FileItem("C:\\App\\ctl2.ocx", "")};
  items[2].File.TypeLibrary = 1;
  items[3].File.ActiveX = 1;
  items[4].File.SelfRegister = 1;
  for (size_t i = 2; i < items.size(); ++i)
    machine.AddFile(items[i].Path);
  prompt.answers = {FileAnswer::kNoToAll, FileAnswer::kYes, FileAnswer::kYesToAll};

  EXPECT_TRUE(RemoveAll());

  ASSERT_EQ(prompt.asked.size(), 3u);
  EXPECT_EQ(prompt.asked[0].Kind, FileQuestion::kSharedFile);
  EXPECT_EQ(prompt.asked[1].Kind, FileQuestion::kTypeLibrary);
  EXPECT_EQ(prompt.asked[2].Kind, FileQuestion::kServer);
  EXPECT_TRUE(machine.FileExists("C:\\Common\\a.dll"));
  EXPECT_TRUE(machine.FileExists("C:\\Common\\b.dll"));
  EXPECT_FALSE(machine.FileExists("C:\\App\\types.tlb"));
  EXPECT_FALSE(machine.FileExists("C:\\App\\ctl2.ocx"));  // yes to all remembered
  // Registrations are undone before the file goes.
  EXPECT_LT(JournalIndex("unregister-typelib C:\\App\\types.tlb"),
            JournalIndex("remove-file C:\\App\\types.tlb"));
  EXPECT_LT(JournalIndex("unregister-server C:\\App\\ctl2.ocx"),
            JournalIndex("remove-file C:\\App\\ctl2.ocx"));
}

TEST_F(RemoveItemsTest, FontsAreRemovedAndMissingFilesRaiseNoQuestion) {
  TUninstItem font = FileItem("C:\\Windows\\Fonts\\kvb.ttf", "");
  font.File.FontFlag = 1;
  font.File.FontName = "Kvb Sans (TrueType)";
  machine.AddFile(font.Path);
  TUninstItem missing = FileItem("C:\\App\\gone.ocx", "");
  missing.File.SelfRegister = 1;
  items = {font, missing};

  EXPECT_TRUE(RemoveAll());

  EXPECT_TRUE(prompt.asked.empty());
  EXPECT_LT(JournalIndex("remove-font C:\\Windows\\Fonts\\kvb.ttf|Kvb Sans (TrueType)"),
            JournalIndex("remove-file C:\\Windows\\Fonts\\kvb.ttf"));
  EXPECT_TRUE(InJournal("unregister-server C:\\App\\gone.ocx"));
  EXPECT_TRUE(not_removed.empty());
}

TEST_F(RemoveItemsTest, WithoutHotSyncSupportConduitsStayAndAreReported) {
  items = {PathItem(kItemConduit, "KVBS")};
  RemovalContext context(machine, vars, texts, "Sample Setup");
  EXPECT_TRUE(RemoveItems(context, items, not_removed, {true, "", ""}));
  EXPECT_EQ(not_removed, std::vector<std::string>{"Conduit: KVBS"});
}

TEST_F(RemoveItemsTest, MaintenanceRunDropsTheItemsOfRemovedComponents) {
  maintenance = true;
  machine.AddFile("C:\\App\\main.exe");
  machine.AddFile("C:\\App\\Docs\\guide.txt");
  machine.AddFile("C:\\App\\Docs\\kept.tlb");
  machine.AddFile("C:\\App\\Tools\\tool.exe");
  machine.SetValue(RegRoot::kCurrentUser, "Software\\Kvb", "Docs");
  machine.locked_values.insert("SOFTWARE\\KVB|DOCS");
  items = {FolderItem("C:\\App"),
           FolderItem("C:\\App\\Docs"),
           FolderItem("C:\\App\\Tools"),
           FileItem("C:\\App\\main.exe", ""),
           FileItem("C:\\App\\Docs\\guide.txt", "Docs"),
           FileItem("C:\\App\\Docs\\kept.tlb", "Docs"),
           FileItem("C:\\App\\Tools\\tool.exe", "Tools|Docs"),
           ValueItem(1, "Software\\Kvb", "Docs", "Docs"),
           PathItem(kItemPlainFile, "C:\\App\\uninst.dat")};
  items[5].File.TypeLibrary = 1;
  prompt.answers = {FileAnswer::kNo};

  EXPECT_TRUE(Remove({false, "Docs", "Tools"}));
  EXPECT_EQ(progress.back(), 9u);  // the count before the list shrank
  EXPECT_EQ(totals.back(), 9u);

  EXPECT_FALSE(machine.FileExists("C:\\App\\Docs\\guide.txt"));
  EXPECT_TRUE(machine.FileExists("C:\\App\\Docs\\kept.tlb"));
  EXPECT_TRUE(machine.FileExists("C:\\App\\Tools\\tool.exe"));  // Tools stays installed
  EXPECT_TRUE(machine.FileExists("C:\\App\\main.exe"));
  // The kept file and the value that could not be deleted leave the list too: they no
  // longer belong to the installation.
  std::vector<std::string> paths;
  for (const TUninstItem& item : items)
    paths.push_back(item.Kind == kItemRegistryValue ? "value" : item.Path);
  EXPECT_EQ(paths, (std::vector<std::string>{"C:\\App", "C:\\App\\Docs", "C:\\App\\Tools",
                                             "C:\\App\\main.exe", "C:\\App\\Tools\\tool.exe",
                                             "C:\\App\\uninst.dat"}));
}

TEST_F(RemoveItemsTest, StoppedRemovalFailsAndKeepsTheList) {
  maintenance = true;
  machine.AddFile("C:\\App\\a.txt");
  machine.AddFile("C:\\App\\b.txt");
  items = {FileItem("C:\\App\\a.txt", "A"), FileItem("C:\\App\\b.txt", "A")};
  stop_after = 2;  // the start and the first item

  EXPECT_FALSE(Remove({false, "A", ""}));

  EXPECT_FALSE(machine.FileExists("C:\\App\\a.txt"));
  EXPECT_TRUE(machine.FileExists("C:\\App\\b.txt"));
  EXPECT_EQ(items.size(), 2u);
  EXPECT_EQ(progress, (std::vector<size_t>{0, 1}));
}

}  // namespace
}  // namespace kvb
