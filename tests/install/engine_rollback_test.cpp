// Cancelled and failed installations leave the machine as it was: cancel during the
// extraction, at an overwrite prompt and at a next-disk request; a damaged archive; an
// uninstall log that cannot be written after everything else was done.
#include <gtest/gtest.h>

#include "base/text.h"
#include "engine_fixture.h"

namespace kvb::test {
namespace {

// A machine with an earlier version of some files and registry values in place.
class RollbackTest : public EngineTest {
 protected:
  RollbackTest() {
    machine.AddFile(Path("a.txt"), "old a", 100);
    machine.AddFile("C:\\Windows\\shared.dll", "old shared", 100);
    std::vector<std::string> created;
    machine.CreateKey(RegRoot::kCurrentUser, "Software\\Acme", created);
    machine.WriteValue(RegRoot::kCurrentUser, "Software\\Acme", "Dir", {kRegSz, "old"});
    machine.CreateKey(RegRoot::kLocalMachine, kSharedDllsKey, created);
    machine.WriteValue(RegRoot::kLocalMachine, kSharedDllsKey, "C:\\Windows\\shared.dll",
                       {kRegDword, std::string("\2\0\0\0", 4)});
    AddFile("a.txt", "new a");
    AddFile("b.txt", TextBytes(200000), "%InstallDir%\\Sub\\");
    auto& shared = AddFile("shared.dll", "new shared", "%WinDir%\\");
    shared.File.SharedFile = 1;
    shared.File.SelfRegister = 1;
    auto& font = AddFile("f.ttf", "font");
    font.File.FontFlag = 1;
    font.File.FontName = "F";
    AddFile("c.txt", "new c");
    AddShortcut("A", "a.txt");
    AddRegChange(1, "Software\\Acme", "Dir", 0, "%InstallDir%");
    AddRegChange(1, "Software\\Acme\\Deep\\Key", "V", 1, "7");
    before = machine.Snapshot();
  }

  void ExpectUnchanged() {
    EXPECT_TRUE(engine->Aborted());
    const FakeInstallMachine::State after = machine.Snapshot();
    EXPECT_EQ(after.files, before.files);
    EXPECT_EQ(after.folders, before.folders);
    EXPECT_EQ(after.values, before.values);
    EXPECT_EQ(after.keys, before.keys);
    EXPECT_TRUE(after == before);
  }

  FakeInstallMachine::State before;
  std::unique_ptr<TKalvenbrookerInstall> engine;
};

TEST_F(RollbackTest, CancelDuringExtraction) {
  Build();
  engine = MakeEngine();
  // The user presses Cancel while the second file is written.
  host.on_position = [this](int position) {
    if (position > 2 && machine.FileExists(Path("a.txt")) &&
        machine.files[Path("a.txt")].Content == "new a") {
      engine->Abort();
    }
  };
  RunAll(*engine);
  ExpectUnchanged();
}

TEST_F(RollbackTest, CancelAtAnOverwritePrompt) {
  data.DeviceFiles.back().File.OverwriteMode = 7;  // c.txt asks
  machine.AddFile(Path("c.txt"), "old c");
  before = machine.Snapshot();
  Build();
  engine = MakeEngine();
  host.answers = {PromptAnswer::kCancel};
  host.close_answers = {true};
  RunAll(*engine);
  EXPECT_EQ(host.close_requests, 1);
  ExpectUnchanged();
}

TEST_F(RollbackTest, CancelThenStayingAtAnOverwritePromptGoesOn) {
  data.DeviceFiles.back().File.OverwriteMode = 7;
  machine.AddFile(Path("c.txt"), "old c");
  Build();
  engine = MakeEngine();
  host.answers = {PromptAnswer::kCancel, PromptAnswer::kNo};
  host.close_answers = {false};
  RunAll(*engine);
  EXPECT_FALSE(engine->Aborted());
  EXPECT_EQ(machine.files[Path("c.txt")].Content, "old c");
  EXPECT_EQ(machine.files[Path("a.txt")].Content, "new a");
  // The backups of replaced files are gone once the installation is complete.
  EXPECT_FALSE(machine.FolderExists(std::string(kTempDir) + "\\backup"));
}

TEST_F(RollbackTest, CancelAtTheNextDiskRequest) {
  entries[1] = ArchiveEntry::FromBytes(1, kDate, RandomBytes(200000));
  Build(70000);
  machine.files.erase("C:\\Downloads\\Setup.003");
  before = machine.Snapshot();
  engine = MakeEngine();
  host.close_answers = {true};
  RunAll(*engine);
  ASSERT_EQ(host.disk_prompts.size(), 1u);
  EXPECT_EQ(host.disk_prompts[0].Disk, 3);
  ExpectUnchanged();
}

TEST_F(RollbackTest, DamagedArchiveIsReportedAndUndone) {
  Build();
  std::string bytes = setup_file->bytes();
  bytes[bytes.size() / 2] ^= 0x55;  // inside a compressed chunk of b.txt
  setup_file = std::make_unique<MemorySource>(bytes);
  engine = MakeEngine();
  RunAll(*engine);
  ASSERT_FALSE(host.messages.empty());
  ExpectUnchanged();
}

TEST_F(RollbackTest, AnUnwritableLogUndoesEverythingAndWritesNoEntry) {
  machine.unwritable_files.insert(Path("uninst.dat"));
  Build();
  engine = MakeEngine();
  RunAll(*engine);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].first.find("uninstall log"), std::string::npos);
  const std::vector<std::string> undone(machine.calls.end() - 2, machine.calls.end());
  EXPECT_EQ(undone, (std::vector<std::string>{"remove-font F",
                                              "unregister-server C:\\Windows\\shared.dll"}));
  EXPECT_TRUE(machine.servers.empty());
  ExpectUnchanged();
}

TEST_F(EngineTest, NextDiskRequestFollowsTheFolderTheUserNames) {
  AddFile("big.bin", RandomBytes(150000));
  AddFile("small.txt", "s");
  Build(70000);
  // The second disk holds the volumes from the second on; the request comes once.
  for (const char* ext : {".002", ".003"}) {
    const std::string from = std::string("C:\\Downloads\\Setup") + ext;
    ASSERT_TRUE(machine.FileExists(from));
    machine.AddFile(std::string("D:\\Disk2\\Setup") + ext, machine.files[from].Content);
    machine.files.erase(from);
  }
  host.disk_answers = {std::string("D:\\Disk2")};
  auto engine = MakeEngine();
  RunAll(*engine);
  ASSERT_FALSE(engine->Aborted());
  ASSERT_EQ(host.disk_prompts.size(), 1u);
  const DiskPrompt& prompt = host.disk_prompts[0];
  EXPECT_EQ(prompt.Folder, "C:\\Downloads\\");
  EXPECT_EQ(prompt.VolumeBaseName, "Setup");
  EXPECT_NE(prompt.Prompt.find("Disk 2 "), std::string::npos);
  EXPECT_EQ(machine.files[Path("big.bin")].Content, RandomBytes(150000));
  EXPECT_EQ(machine.files[Path("small.txt")].Content, "s");
  // The file continued across volumes is one item.
  int files = 0;
  for (const TUninstItem& item : engine->UninstItems())
    files += item.Kind == kItemFile;
  EXPECT_EQ(files, 2);
  EXPECT_GE(engine->CurrentDisk(), 2u);
}

}  // namespace
}  // namespace kvb::test
