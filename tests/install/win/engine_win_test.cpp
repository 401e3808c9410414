// The installation engine on real files and registry under Wine: cancelled and failed
// installations compared before and after (complete ones are checked end to end).
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

#include "../fake_install_host.h"
#include "install/install_machine_win.h"
#include "install/kalvenbrooker_install.h"
#include "setupdata/archive_writer.h"
#include "setupdata/default_messages.h"
#include "vars/fake_machine.h"
#include "vars/variable_loading.h"
#include "vars/win_test_support.h"
#include "win_scratch.h"

namespace kvb::test {
namespace {

constexpr char kEntryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme Demo";

class WinEngineTest : public ::testing::Test {
 protected:
  WinEngineTest() : root_("engine"), scratch_key_("engine") {
    CoInitialize(nullptr);
    for (const char* sub : {"Windows", "Menu", "Temp", "Downloads"})
      CreateDirectoryA((root_ / sub).c_str(), nullptr);
    info_.folders[MachineFolder::kWindows] = root_ / "Windows";
    info_.folders[MachineFolder::kSystem] = root_ / "Windows\\System32";
    info_.folders[MachineFolder::kProgramFiles] = root_.path();
    info_.shell[0][static_cast<int>(ShellFolderKind::kPrograms)] = root_ / "Menu";
    info_.facts[MachineFact::kOSMajorVersion] = "5";
    vars_ = std::make_unique<Variables>(&info_);
    data_.LanguageLessMessages = DefaultMessages();
    data_.Properties.SoftwareName = "Demo";
    data_.Properties.CompanyName = "Acme";
    data_.Properties.DisplayName = "Demo";
    data_.MainArchiveSpan = 100;
    data_.MainArchiveScale = 1;
    ApplySetupProperties(*vars_, data_.Properties);
    vars_->SetVariable("%InstallDir%", root_ / "Demo");
    vars_->SetVariable("%ProgramGroup%", "Demo");
    vars_->SetVariable("%Key%", scratch_key_.path());
    machine_ = MakeWindowsInstallMachine();
  }
  ~WinEngineTest() override { CoUninitialize(); }

  void AddFile(const std::string& name, const std::string& content, uint8_t mode = 6) {
    TSetupInstallerFile record;
    record.EntryIndex = static_cast<uint32_t>(data_.DeviceFiles.size());
    record.FileDate = 0x58612000;
    record.File.SourceName = name;
    record.File.DestDir = "%InstallDir%\\";
    record.File.OverwriteMode = mode;
    entries_.push_back(
        ArchiveEntry::FromBytes(static_cast<int32_t>(record.EntryIndex), record.FileDate, content));
    data_.DeviceFiles.push_back(record);
  }

  // Builds the package and runs every step; the engine is finished afterwards.
  std::unique_ptr<TKalvenbrookerInstall> Install() {
    std::ostringstream out;
    out << "MZ-image";
    ArchiveWriteOptions options;
    options.Threads = 1;
    WriteArchiveBlock(out, {"", entries_}, options);
    setup_file_ = std::make_unique<MemorySource>(out.str());
    InstallContext context(data_, *vars_, host_, *machine_);
    context.SetupFile = setup_file_.get();
    context.ArchiveOffset = 8;
    context.SetupPath = root_ / "Downloads\\Setup.exe";
    context.TempSetupDir = root_ / "Temp";
    auto engine = std::make_unique<TKalvenbrookerInstall>(context);
    host_.on_close = [raw = engine.get()] { raw->Abort(); };
    engine->InstallFiles();
    engine->CreateShortcuts();
    engine->ApplyRegistryChanges();
    engine->RegisterUninstall();
    engine->Finish();
    return engine;
  }

  std::string Dir(const std::string& name) const { return root_ / ("Demo\\" + name); }

  ScratchFolder root_;
  ScratchKey scratch_key_;
  ScratchLocalMachine hklm_;
  FakeMachine info_;
  std::unique_ptr<Variables> vars_;
  TSetupData data_;
  FakeInstallHost host_;
  std::unique_ptr<InstallMachine> machine_;
  std::vector<ArchiveEntry> entries_;
  std::unique_ptr<MemorySource> setup_file_;
};

TEST_F(WinEngineTest, CancelAtAnOverwritePromptLeavesFilesAndRegistryAsTheyWere) {
  ASSERT_TRUE(hklm_.ok());
  CreateDirectoryA((root_ / "Demo").c_str(), nullptr);
  WriteTextFile(Dir("a.txt"), "old a");
  SetOldFileTime(Dir("a.txt"));
  WriteTextFile(Dir("c.txt"), "old c");
  SetString(HKEY_CURRENT_USER, scratch_key_.path(), "Existing", "old");
  AddFile("a.txt", "new a");
  AddFile("b.txt", "new b");
  AddFile("c.txt", "new c", 7);
  TSetupRegChange change;
  change.Root = 1;
  change.Key = "%Key%";
  change.ValueName = "Existing";
  data_.RegChanges.push_back(change);
  const auto files_before = SnapshotFolder(root_.path());
  const auto user_before = SnapshotKey(HKEY_CURRENT_USER, scratch_key_.path());
  const auto machine_before = SnapshotKey(HKEY_LOCAL_MACHINE, "Software");
  host_.answers = {PromptAnswer::kCancel};
  host_.close_answers = {true};
  auto engine = Install();
  EXPECT_TRUE(engine->Aborted());
  EXPECT_EQ(SnapshotFolder(root_.path()), files_before);
  EXPECT_EQ(SnapshotKey(HKEY_CURRENT_USER, scratch_key_.path()), user_before);
  EXPECT_EQ(SnapshotKey(HKEY_LOCAL_MACHINE, "Software"), machine_before);
}

TEST_F(WinEngineTest, AnInstallationIntoANewFolderIsUndoneCompletely) {
  ASSERT_TRUE(hklm_.ok());
  AddFile("a.txt", "a");
  TSetupRegChange change;
  change.Root = 1;
  change.Key = "%Key%\\Deep\\Er";
  change.ValueName = "V";
  data_.RegChanges.push_back(change);
  const auto files_before = SnapshotFolder(root_.path());
  const auto user_before = SnapshotKey(HKEY_CURRENT_USER, scratch_key_.path());
  // The log cannot be written: a folder stands where it goes.
  CreateDirectoryA((root_ / "Demo").c_str(), nullptr);
  CreateDirectoryA(Dir("uninst.dat").c_str(), nullptr);
  auto engine = Install();
  EXPECT_TRUE(engine->Aborted());
  RemoveDirectoryA(Dir("uninst.dat").c_str());
  RemoveDirectoryA((root_ / "Demo").c_str());
  EXPECT_EQ(SnapshotFolder(root_.path()), files_before);
  EXPECT_EQ(SnapshotKey(HKEY_CURRENT_USER, scratch_key_.path()), user_before);
  EXPECT_TRUE(SnapshotKey(HKEY_LOCAL_MACHINE, kEntryKey).empty());
}

}  // namespace
}  // namespace kvb::test
