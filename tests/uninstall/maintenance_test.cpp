// Maintenance runs: detection of the own product's previous installation, and the removal
// of the components deselected in it; logs written by the engine's writer and by hand in
// an old form.
#include <gtest/gtest.h>

#include "setupdata/byte_writer.h"
#include "setupdata/record_io.h"
#include "setupdata/script_io.h"
#include "setupdata/uninst_item_io.h"
#include "uninstall/fake_removal_machine.h"
#include "uninstall/log_files.h"
#include "uninstall/maintenance.h"
#include "uninstall/test_items.h"
#include "uninstall/uninstall_entry.h"
#include "vars/variables.h"

namespace kvb {
namespace {

class MaintenanceTest : public ::testing::Test {
 protected:
  MaintenanceTest() {
    data.Properties.SoftwareName = "Sample";
    data.Properties.CompanyName = "Kvb";
    vars.SetupTypeComponents = {"Docs", "Docs|Tools", ""};
    vars.SetVariable("%SetupType%", "0");
  }

  void Install(const std::string& log_bytes, const std::vector<TUninstItem>& items) {
    const std::string path = folder.Write("uninst.dat", log_bytes);
    const std::string key = UninstallEntryKey("Sample", "Kvb");
    machine.SetValue(RegRoot::kLocalMachine, key, "DisplayVersion", "1.0");
    machine.SetValue(RegRoot::kLocalMachine, key, "UninstallString",
                     "\"C:\\Windows\\kvbuninst.exe\" \"" + path + "\"");
    machine.AddFile(path);
    for (const TUninstItem& item : items) {
      if (item.Kind == kItemFile)
        machine.AddFile(item.Path);
    }
  }

  std::vector<TUninstItem> Items() {
    return {FolderItem("C:\\Sample"),
            FolderItem("C:\\Sample\\Docs"),
            FileItem("C:\\Sample\\main.exe", ""),
            FileItem("C:\\Sample\\Docs\\guide.txt", "Docs"),
            FileItem("C:\\Sample\\tool.exe", "Tools"),
            FileItem("C:\\Sample\\shared.txt", "Docs|Tools")};
  }

  void Detect() {
    MaintenanceDetection detection(state, data, vars, machine,
                                   [this](const std::string& text) { errors.push_back(text); });
    detection.DetectPreviousInstall();
  }

  ScratchFolder folder{"maintenance"};
  FakeRemovalMachine machine;
  Variables vars;
  TSetupData data;
  UninstallerState state;
  std::vector<std::string> errors;
};

TEST_F(MaintenanceTest, PreviousInstallationBecomesTheCustomSelection) {
  TUninstallLog log = ProductLog("Sample", "D:\\Chosen");
  log.InstalledComponents = "Docs|Tools";
  log.Items = Items();
  Install(WriteUninstallLog(log), log.Items);

  Detect();
  Detect();  // a second detection replaces the first

  EXPECT_TRUE(state.Maintenance);
  EXPECT_EQ(state.Data.Items.size(), log.Items.size());
  EXPECT_EQ(vars.ExpandText("%SetupType%"), "2");
  EXPECT_EQ(vars.SelectedComponents, "Docs|Tools");
  EXPECT_EQ(data.Properties.ComponentsType2, "Docs|Tools");
  EXPECT_EQ(vars.ExpandText("%InstallDir%"), "D:\\Chosen");
  EXPECT_EQ(data.Properties.DefaultInstallDir, "D:\\Chosen");
  EXPECT_EQ(state.Msgs[0], "%SoftwareName% Uninstaller");
  EXPECT_TRUE(errors.empty());
}

TEST_F(MaintenanceTest, NoEntryOrUnusableLogChangesNothing) {
  Detect();
  EXPECT_FALSE(state.Maintenance);

  Install("hUNS", {});  // the tag, then nothing
  Detect();
  EXPECT_FALSE(state.Maintenance);
  EXPECT_EQ(vars.ExpandText("%SetupType%"), "0");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("is damaged"), std::string::npos);
}

TEST_F(MaintenanceTest, DeselectedComponentsGoAndLeaveTheItemList) {
  TUninstallLog log = ProductLog("Sample", "C:\\Sample");
  log.InstalledComponents = "Docs|Tools";
  log.Items = Items();
  Install(WriteUninstallLog(log), log.Items);
  Detect();

  RemovalContext context(machine, vars, state.Msgs, "Sample Setup");
  std::vector<int> positions;
  RemovalCallbacks callbacks;
  callbacks.OnProgress = [&positions](size_t total, size_t done) {
    positions.push_back(MaintenanceRemovalPosition(total, done));
    return true;
  };
  EXPECT_TRUE(RemoveDeselectedComponents(state, context, "Tools|New", callbacks));

  EXPECT_FALSE(machine.FileExists("C:\\Sample\\Docs\\guide.txt"));
  EXPECT_FALSE(machine.FolderExists("C:\\Sample\\Docs"));
  EXPECT_TRUE(machine.FileExists("C:\\Sample\\shared.txt"));  // Tools still needs it
  EXPECT_TRUE(machine.FileExists("C:\\Sample\\tool.exe"));
  std::vector<std::string> left;
  for (const TUninstItem& item : state.Data.Items)
    left.push_back(item.Path);
  EXPECT_EQ(left, (std::vector<std::string>{"C:\\Sample", "C:\\Sample\\main.exe",
                                            "C:\\Sample\\tool.exe", "C:\\Sample\\shared.txt"}));
  EXPECT_EQ(positions.front(), 50);
  EXPECT_EQ(positions.back(), 100);
}

// A log of the oldest form, written byte by byte: no answer-button or file-label texts,
// and file records without their second extra flag.
TEST_F(MaintenanceTest, OldLogsAreReadAndRemoved) {
  ByteWriter out;
  out.Bytes("eUNS");
  for (const char* text : {"Sample", "", "Kvb"})
    out.ZStr(text);
  out.U8(0);
  out.U8(0);
  WriteFont(out, TFontRecord{"Arial", 8, 0, 0, 1});
  for (int i = 0; i < 24; ++i)
    out.ZStr(i == 5 ? "<file> is a shared file." : "");
  out.ZStr("Connecting...");
  WriteScript(out, TScript{}, TextForm::kScrambled);
  WriteScript(out, TScript{}, TextForm::kScrambled);
  for (const char* text : {"C:\\setup.exe", "", "Docs"})
    out.ZStr(text);
  out.I32(0);  // platforms
  out.I32(1);
  out.ZStr("%InstallDir%=C:\\Old");
  const std::vector<TUninstItem> items = {FileItem("C:\\Old\\a.txt", "Docs"),
                                          FolderItem("C:\\Old")};
  out.I32(static_cast<int32_t>(items.size()));
  for (const TUninstItem& item : items)
    WriteUninstItem(out, item, StreamForm::kOld);
  Install(out.Take(), items);

  Detect();
  ASSERT_TRUE(state.Maintenance);
  EXPECT_EQ(state.Msgs[24], "Yes");
  EXPECT_EQ(state.Msgs[29], "Destination File");

  RemovalContext context(machine, vars, state.Msgs, "Sample Setup");
  EXPECT_TRUE(RemoveDeselectedComponents(state, context, "", {}));
  EXPECT_FALSE(machine.FileExists("C:\\Old\\a.txt"));
  EXPECT_FALSE(machine.FolderExists("C:\\Old"));
  EXPECT_TRUE(state.Data.Items.empty());
}

}  // namespace
}  // namespace kvb
