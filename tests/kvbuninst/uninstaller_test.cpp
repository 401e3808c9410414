// The uninstaller program's run against an in-memory machine and a host that records its
// windows: the command line, unusable and foreign logs, the confirmation, the scripts,
// the clean-up of entry, log and folder, the final message, the silent mode and the
// program's own file.
#include <gtest/gtest.h>

#include "base/text.h"
#include "tools/kvbuninst/silent_prompt.h"
#include "tools/kvbuninst/uninstaller.h"
#include "uninstall/fake_removal_machine.h"
#include "uninstall/log_files.h"
#include "uninstall/test_items.h"
#include "uninstall/uninstall_entry.h"
#include "vars/variables.h"

namespace kvb {
namespace {

constexpr char kProgram[] = "C:\\Windows\\kvbuninst.exe";

class RecordingHost : public UninstallerHost {
 public:
  RemovalMachine& Machine() override { return machine; }
  Variables& Vars() override { return vars; }
  bool RunScript(const TScript& script) override {
    calls.push_back("script " + script.Statements[0].Args[0]);
    return script.Statements[0].Args[0] != "stop";
  }
  void ProcessMessages() override {}
  void ShowError(const std::string& caption, const std::string& text) override {
    calls.push_back("error " + caption + ": " + text);
  }
  bool Confirm(const std::string& caption, const std::string& question) override {
    calls.push_back("confirm " + caption + ": " + question);
    return confirm;
  }
  void BeginProgress(const std::string& caption,
                     const std::string& status,
                     const std::string& button,
                     const TFontRecord& font) override {
    calls.push_back("progress " + status + " [" + button + "] in " + font.FaceName);
  }
  void SetProgress(size_t total, size_t done) override { last_progress = {total, done}; }
  void EndProgress() override { calls.push_back("end progress"); }
  FileActionPrompt* Prompt() override { return &prompt; }
  ConduitRemover* Conduits() override { return &conduits; }
  void ShowResult(const std::string& caption,
                  const std::string& text,
                  const std::vector<std::string>& not_removed) override {
    calls.push_back("result " + text);
    listed = not_removed;
  }

  FakeRemovalMachine machine;
  Variables vars;
  ScriptedPrompt prompt;
  FakeConduits conduits;
  bool confirm = true;
  std::vector<std::string> calls;
  std::pair<size_t, size_t> last_progress;
  std::vector<std::string> listed;
};

class UninstallerTest : public ::testing::Test {
 protected:
  UninstallerTest() {
    log = ProductLog("Sample", "C:\\Sample");
    log.Font.FaceName = "Tahoma";
    log.BeforeScript = NamedScript("before");
    log.AfterScript = NamedScript("after");
    log.Items = {FolderItem("C:\\Sample"), FileItem("C:\\Sample\\main.exe", ""),
                 ValueItem(1, "Software\\Kvb\\Sample", "Path"), PathItem(kItemConduit, "KVBS")};
  }

  // Writes the log, the product's entry naming it and the installed files and values.
  void Install() {
    log_path = folder.Write("uninst.dat", WriteUninstallLog(log));
    Entry("Sample", "\"" + std::string(kProgram) + "\" \"" + log_path + "\"");
    m().AddFile(log_path);
    m().AddFile(kProgram);
    m().AddFile("C:\\Sample\\main.exe");
    m().SetValue(RegRoot::kCurrentUser, "Software\\Kvb\\Sample", "Path");
  }

  void Entry(const std::string& software, const std::string& command) {
    const std::string key = UninstallEntryKey(software, "Kvb");
    m().SetValue(RegRoot::kLocalMachine, key, "DisplayVersion", "1.0");
    m().SetValue(RegRoot::kLocalMachine, key, "UninstallString", command);
  }

  int Run(const std::string& arguments) {
    const UninstallerOutcome outcome =
        RunUninstaller(ParseUninstallerCommandLine("kvbuninst.exe " + arguments), host);
    original_unused = outcome.OriginalUnused;
    return outcome.ExitCode;
  }
  int Run() { return Run("\"" + log_path + "\""); }

  FakeRemovalMachine& m() { return host.machine; }
  bool EntryExists() {
    return m().HasKey(RegRoot::kLocalMachine, UninstallEntryKey("Sample", "Kvb"));
  }

  ScratchFolder folder{"kvbuninst"};
  RecordingHost host;
  TUninstallLog log;
  std::string log_path;
  bool original_unused = false;
};

TEST_F(UninstallerTest, RemovesTheProductWithEntryLogAndFolder) {
  Install();

  EXPECT_EQ(Run(), kUninstallDone);

  EXPECT_FALSE(m().FileExists("C:\\Sample\\main.exe"));
  EXPECT_FALSE(m().FolderExists("C:\\Sample"));
  EXPECT_FALSE(m().HasKey(RegRoot::kCurrentUser, "Software\\Kvb"));
  EXPECT_FALSE(EntryExists());
  EXPECT_FALSE(m().FileExists(log_path));
  EXPECT_FALSE(m().FolderExists(folder.Path()));  // the log's folder, now empty
  EXPECT_TRUE(m().FileExists(kProgram));          // not a copy: the program cannot delete itself
  EXPECT_EQ(host.calls,
            (std::vector<std::string>{
                "confirm Sample Uninstaller: Do you want to uninstall Sample from "
                "Desktop?",
                "script before", "progress Uninstalling Sample... [Cancel] in Tahoma",
                "script after", "end progress", "result Uninstall completed with success."}));
  EXPECT_EQ(host.last_progress, std::make_pair(size_t{4}, size_t{4}));
  EXPECT_EQ(host.conduits.removed, std::vector<std::string>{"KVBS"});
}

TEST_F(UninstallerTest, WhatStaysIsListedAndTheEntryGoesAnyway) {
  Install();
  m().AddFile("C:\\Sample\\notes.txt");  // the user's own file
  m().locked_files.insert(UpperText("C:\\Sample\\main.exe"));

  EXPECT_EQ(Run(), kUninstallIncomplete);

  EXPECT_EQ(host.calls.back(), "result Uninstall can not delete all Sample items.");
  EXPECT_EQ(host.listed, (std::vector<std::string>{"C:\\Sample\\main.exe", "C:\\Sample\\"}));
  EXPECT_FALSE(EntryExists());
  EXPECT_TRUE(m().FileExists("C:\\Sample\\notes.txt"));
}

TEST_F(UninstallerTest, SilentRunShowsNothingAndAsksNothing) {
  log.Items[1].File.SharedFile = 1;
  Install();

  EXPECT_EQ(Run("/s \"" + log_path + "\""), kUninstallDone);

  EXPECT_EQ(host.calls, (std::vector<std::string>{"script before", "script after"}));
  EXPECT_TRUE(host.prompt.asked.empty());
  EXPECT_FALSE(m().FileExists("C:\\Sample\\main.exe"));
}

TEST_F(UninstallerTest, UnusableLogsAreReportedAndChangeNothing) {
  Install();
  struct Case {
    std::string bytes;
    std::string message;
  } cases[] = {
      {std::string("MZ\x90\0\3\0", 6),
       "error Kalvenbrooker Uninstaller: Invalid Uninstaller Script."},
      {"hUNSSample",
       "error Kalvenbrooker Uninstaller: The uninstall log \"" + log_path + "\" is damaged."},
  };
  for (const Case& c : cases) {
    host.calls.clear();
    folder.Write("uninst.dat", c.bytes);
    EXPECT_EQ(Run(), kUninstallLogUnusable);
    EXPECT_EQ(host.calls, std::vector<std::string>{c.message});
  }
  host.calls.clear();
  EXPECT_EQ(Run("\"" + log_path + ".missing\""), kUninstallLogUnusable);
  EXPECT_EQ(host.calls.size(), 1u);
  EXPECT_NE(host.calls[0].find("cannot be opened"), std::string::npos);
  EXPECT_TRUE(m().FileExists("C:\\Sample\\main.exe"));
  EXPECT_TRUE(EntryExists());
}

TEST_F(UninstallerTest, WithoutAnEntryAnInterruptedRemovalIsFinished) {
  Install();
  m().DeleteKeyTree(RegRoot::kLocalMachine, UninstallEntryKey("Sample", "Kvb"));
  EXPECT_EQ(Run("/S \"" + log_path + "\""), kUninstallDone);
  EXPECT_FALSE(m().FileExists("C:\\Sample\\main.exe"));
}

TEST_F(UninstallerTest, LogWithoutItemsFails) {
  log.Items.clear();
  Install();
  EXPECT_EQ(Run(), kUninstallFailed);
  EXPECT_TRUE(EntryExists());
  EXPECT_EQ(host.calls.back(), "result Uninstall can not delete all Sample items.");
}

TEST_F(UninstallerTest, TheCopyLetsTheProgramGoWhenNoOtherProductNeedsIt) {
  Install();
  Entry("Other", "\"c:\\windows\\KVBUNINST.EXE\" \"C:\\Other\\uninst.dat\"");
  const std::string copy_of = " \"/COPYOF=" + std::string(kProgram) + "\"";

  EXPECT_EQ(Run("/S \"" + log_path + "\"" + copy_of), kUninstallDone);
  EXPECT_FALSE(original_unused);  // "Other" still uses it

  m().DeleteKeyTree(RegRoot::kLocalMachine, UninstallEntryKey("Other", "Kvb"));
  Install();
  EXPECT_EQ(Run("/S \"" + log_path + "\"" + copy_of), kUninstallDone);
  EXPECT_TRUE(original_unused);
  EXPECT_TRUE(m().FileExists(kProgram));  // deleted by the copy once the original has ended

  // The program itself (not a copy), and a removal that did not happen, keep it.
  Install();
  EXPECT_EQ(Run("/S \"" + log_path + "\""), kUninstallDone);
  EXPECT_FALSE(original_unused);
  log.BeforeScript = NamedScript("stop");
  Install();
  EXPECT_EQ(Run("/S \"" + log_path + "\"" + copy_of), kUninstallCancelled);
  EXPECT_FALSE(original_unused);
}

TEST(UninstallerOptionsTest, CommandLines) {
  struct Case {
    const char* line;
    const char* log;
    bool silent;
    bool help;
    const char* copy_of;
    bool error;
  } cases[] = {
      {"kvbuninst.exe \"C:\\A B\\uninst.dat\"", "C:\\A B\\uninst.dat", false, false, "", false},
      {"kvbuninst.exe /s C:\\A\\uninst.dat", "C:\\A\\uninst.dat", true, false, "", false},
      {"kvbuninst.exe C:\\A\\uninst.dat /S \"/COPYOF=C:\\W X\\kvbuninst.exe\"", "C:\\A\\uninst.dat",
       true, false, "C:\\W X\\kvbuninst.exe", false},
      {"kvbuninst.exe /?", "", false, true, "", false},
      {"kvbuninst.exe", "", false, false, "", true},
      {"kvbuninst.exe /X C:\\A\\uninst.dat", "C:\\A\\uninst.dat", false, false, "", true},
      {"kvbuninst.exe a.dat b.dat", "a.dat", false, false, "", true},
  };
  for (const Case& c : cases) {
    const UninstallerOptions o = ParseUninstallerCommandLine(c.line);
    EXPECT_EQ(o.LogPath, c.log) << c.line;
    EXPECT_EQ(o.Silent, c.silent) << c.line;
    EXPECT_EQ(o.Help, c.help) << c.line;
    EXPECT_EQ(o.CopyOf, c.copy_of) << c.line;
    EXPECT_EQ(!o.Error.empty(), c.error) << c.line;
  }
  UninstallerOptions o = ParseUninstallerCommandLine("x \"C:\\A B\\uninst.dat\" /S");
  const std::string copy =
      CopyCommandLine("C:\\T\\kvbuninst.exe", o, "C:\\W X\\kvbuninst.exe", 1234, 4294967300);
  const UninstallerOptions again = ParseUninstallerCommandLine(copy);
  EXPECT_EQ(again.LogPath, "C:\\A B\\uninst.dat");
  EXPECT_TRUE(again.Silent);
  EXPECT_EQ(again.CopyOf, "C:\\W X\\kvbuninst.exe");
  EXPECT_EQ(again.ResultPipe, 1234u);
  EXPECT_EQ(again.Original, 4294967300u);
  EXPECT_TRUE(again.Error.empty());
  EXPECT_EQ(ParseUninstallerCommandLine("x a.dat /RESULT=12x").ResultPipe, 0u);
}

TEST_F(UninstallerTest, BadCommandLineShowsTheUsageUnlessSilent) {
  EXPECT_EQ(Run(""), kUninstallBadCommandLine);
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_NE(host.calls[0].find("Usage: kvbuninst.exe"), std::string::npos);
  host.calls.clear();
  EXPECT_EQ(Run("/S"), kUninstallBadCommandLine);
  EXPECT_TRUE(host.calls.empty());
}

TEST(SilentScriptPromptTest, AnswersWithTheFirstButton) {
  SilentScriptPrompt prompt;
  const std::pair<uint32_t, int> cases[] = {
      {0x00, 1},  // OK
      {0x01, 1},  // OK, Cancel
      {0x02, 3},  // Abort, Retry, Ignore
      {0x03, 6},  // Yes, No, Cancel
      {0x24, 6},  // Yes, No with the question icon
      {0x05, 4},  // Retry, Cancel
      {0x06, 2},  // Cancel, Try Again, Continue
      {0x0F, 1},
  };
  for (const auto& [style, result] : cases)
    EXPECT_EQ(prompt.ShowMessage("c", "t", style), result) << style;
}

}  // namespace
}  // namespace kvb
