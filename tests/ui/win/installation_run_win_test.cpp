// The installation run over a stand-in wizard form: real packages installed into a scratch
// folder, the real progress windows and prompts answered as a user would.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "base/text.h"
#include "install/kalvenbrooker_install.h"
#include "script/script_engine.h"
#include "script/script_services_win.h"
#include "setupdata/archive_writer.h"
#include "setupdata/default_messages.h"
#include "setupdata/messages.h"
#include "ui/controls/label_win.h"
#include "ui/controls/progress_bar_win.h"
#include "ui/dialogs/copying_files_win.h"
#include "ui/dialogs/msg_box_files_win.h"
#include "ui/dialogs/need_disk_win.h"
#include "ui/installation/billboard_window_win.h"
#include "ui/installation/installation_run_win.h"
#include "bitmap_files_win.h"
#include "ui_test_support_win.h"
#include "uninstall/uninstaller_state.h"
#include "vars/fake_machine.h"
#include "vars/variable_loading.h"
#include "vars/win_test_support.h"

namespace kvb {
namespace {

using test::ModalScript;
using test::Pump;

// The wizard form as the run sees it: a page name, a status line, a detail line and a
// progress bar; everything the run asks of it is written to `log`.
class FakeWizard final : public TForm, public InstallationWindow {
 public:
  FakeWizard(TSetupData& data, TScriptEngine& scripts, Variables& vars)
      : TForm({.ClassName = "KvbFakeWizard", .Caption = "Demo Setup", .ClientWidth = 400,
               .ClientHeight = 120}),
        data_(data),
        scripts_(scripts),
        vars_(vars) {
    status = &Own(std::make_unique<TLabel>(*this, 12, 12, 376, 16, ""));
    detail = &Own(std::make_unique<TLabel>(*this, 12, 36, 376, 16, ""));
    bar = &Own(std::make_unique<TProgressBar>(*this, 12, 64, 376, 16, true));
    ShowControls();
  }

  HWND Handle() const override { return TForm::Handle(); }
  HWND ApplicationHandle() const override { return nullptr; }
  bool ShowPage(const std::string& name) override {
    if (!pages.contains(name) || name == current)
      return false;
    if (name == "INSTALL")
      before_install = current;
    current = name;
    log.push_back("page " + name);
    Show();
    Pump();
    return true;
  }
  std::string CurrentPageName() const override { return current; }
  std::string PageBeforeInstall() const override { return before_install; }
  void ShowProgress(StatusKind kind, const std::string& text, int value) override {
    switch (kind) {
      case StatusKind::kStatusLine:
        status->SetText(text);
        status_lines.push_back(text);
        if (on_status)
          on_status();
        break;
      case StatusKind::kDetailLine:
        detail->SetText(text);
        break;
      case StatusKind::kPosition:
        bar->SetPosition(value);
        break;
      case StatusKind::kMaximum:
        bar->SetMax(value);
        break;
    }
  }
  void ShowForm() override {
    log.push_back("show");
    Show();
  }
  void HideForm() override {
    log.push_back("hide");
    Hide();
  }
  void CenterOnScreen() override { TForm::CenterOnScreen(); }
  void MoveTo(int left, int top) override {
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  bool HasBackWindow() const override { return false; }
  void ShowBackWindow(bool) override {}
  bool RequestClose() override {
    const bool agreed = close_answers.empty() || close_answers.front();
    if (!close_answers.empty())
      close_answers.pop_front();
    log.push_back(agreed ? "close agreed" : "close refused");
    if (agreed) {
      closing = true;
      if (engine)
        engine->Abort();
    }
    return agreed;
  }
  bool ClosingAgreed() const override { return closing; }
  void SetEngine(TKalvenbrookerInstall* running) override {
    engine = running;
    log.push_back(running ? "engine" : "no engine");
  }
  void SetUninstalling(bool uninstalling) override {
    log.push_back(uninstalling ? "uninstalling" : "uninstalled");
  }
  uint64_t FreeSpace() override { return free_kb; }
  uint64_t RequiredSpace() override { return required_bytes; }
  void EndProgram() override { log.push_back("end"); }
  bool RunGlobalScript(int slot) override {
    log.push_back("script " + std::to_string(slot));
    if (on_script)
      on_script(slot);
    return scripts_.ExecuteScript(data_.Scripts[slot]) || vars_.ExpandText("%CanClose%") == "0";
  }

  std::set<std::string> pages = {"Ready", "INSTALL"};
  std::string current;
  std::string before_install;
  std::deque<bool> close_answers;
  bool closing = false;
  TKalvenbrookerInstall* engine = nullptr;
  uint64_t free_kb = 1 << 20;
  uint64_t required_bytes = 0;
  std::function<void(int slot)> on_script;
  std::function<void()> on_status;
  std::vector<std::string> log;
  std::vector<std::string> status_lines;
  TLabel* status;
  TLabel* detail;
  TProgressBar* bar;

 private:
  TSetupData& data_;
  TScriptEngine& scripts_;
  Variables& vars_;
};

TScriptStatement Append(const std::string& step) {
  TScriptStatement statement;
  statement.Code = 56;  // assignment
  statement.Args[0] = "%Steps%";
  statement.Args[1] = "%Steps%" + step + ";";
  return statement;
}

TScript ScriptOf(std::vector<TScriptStatement> statements) {
  TScript script;
  script.Count = static_cast<int32_t>(statements.size());
  script.Statements = std::move(statements);
  return script;
}

TfrmCopyingFiles* CopyingWindow() {
  HWND handle = FindWindowA(TfrmCopyingFiles::kWindowClass, nullptr);
  return handle ? dynamic_cast<TfrmCopyingFiles*>(TWindow::FromHandle(handle)) : nullptr;
}

// Types into the first edit box of a dialog and presses a button.
void TypeAndPress(HWND dialog, const std::string& text, const std::string& button) {
  SetWindowTextA(FindWindowExA(dialog, nullptr, "Edit", nullptr), text.c_str());
  test::Press(dialog, button);
}

std::string Noise(size_t size, uint32_t seed) {
  std::string out(size, '\0');
  for (char& c : out) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  return out;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class InstallationRunTest : public ::testing::Test {
 protected:
  InstallationRunTest() : root_("run"), key_("run") {
    CoInitialize(nullptr);
    for (const char* sub : {"Windows", "Menu", "Temp", "Downloads"})
      CreateDirectoryA((root_ / sub).c_str(), nullptr);
    std::ofstream(root_ / "Downloads\\Setup.exe") << "MZ";
    info_.folders[MachineFolder::kWindows] = root_ / "Windows";
    info_.folders[MachineFolder::kSystem] = root_ / "Windows\\System32";
    info_.folders[MachineFolder::kProgramFiles] = root_.Path();
    info_.shell[0][static_cast<int>(ShellFolderKind::kPrograms)] = root_ / "Menu";
    info_.facts[MachineFact::kOSMajorVersion] = "5";
    vars_ = std::make_unique<Variables>(&info_);
    data_.LanguageLessMessages = DefaultMessages();
    data_.Properties.SoftwareName = "Demo";
    data_.Properties.CompanyName = "Acme";
    data_.Properties.DisplayName = "Demo";
    data_.MainArchiveSpan = 100;
    data_.MainArchiveScale = 1;
    data_.StartupOptions[kWriteUninstallInfo] = 1;
    ApplySetupProperties(*vars_, data_.Properties);
    vars_->SetVariable("%InstallDir%", root_ / "Demo");
    vars_->SetVariable("%ProgramGroup%", "Demo");
    vars_->SetVariable("%Steps%", "");
    data_.Scripts[1] = ScriptOf({Append("before")});
    data_.Scripts[2] = ScriptOf({Append("after")});
    scripts_ = std::make_unique<TScriptEngine>(*vars_, CreateWin32ScriptServices([] {
                                                 return static_cast<HWND>(nullptr);
                                               }));
    wizard_ = std::make_unique<FakeWizard>(data_, *scripts_, *vars_);
    wizard_->ShowPage("Ready");
    wizard_->log.clear();
  }
  ~InstallationRunTest() override {
    wizard_.reset();
    CoUninitialize();
  }

  void AddFile(const std::string& name, const std::string& content, uint8_t mode = 6) {
    TSetupInstallerFile record;
    record.EntryIndex = static_cast<uint32_t>(data_.DeviceFiles.size());
    record.FileDate = 0x58612000;
    record.File.SourceName = name;
    record.File.DestDir = "%InstallDir%\\";
    record.File.OverwriteMode = mode;
    record.File.Size = static_cast<uint32_t>(content.size());
    entries_.push_back(
        ArchiveEntry::FromBytes(static_cast<int32_t>(record.EntryIndex), record.FileDate, content));
    data_.DeviceFiles.push_back(record);
  }

  // The package in the setup program's file, or in volume files of `volume_size` bytes
  // beside it.
  void Build(uint64_t volume_size = 0) {
    ArchiveWriteOptions options;
    options.Threads = 1;
    if (volume_size == 0) {
      std::ostringstream out;
      out << "MZ-image";
      WriteArchiveBlock(out, {"", entries_}, options);
      setup_file_ = std::make_unique<MemorySource>(out.str());
      archive_offset_ = 8;
      return;
    }
    WriteArchiveVolumes(root_ / "Downloads\\Setup.exe", volume_size, {"", entries_}, options);
    setup_file_ = std::make_unique<MemorySource>("MZ");
    archive_offset_ = 0;
  }

  std::unique_ptr<InstallationRun> MakeRun(const std::string& setup_path = {}) {
    InstallationContext context(*wizard_, data_, *vars_, *scripts_, state_);
    context.SetupFile = setup_file_.get();
    context.ArchiveOffset = archive_offset_;
    context.SetupPath = setup_path.empty() ? root_ / "Downloads\\Setup.exe" : setup_path;
    context.TempSetupDir = root_ / "Temp";
    context.Title = [] { return std::string("Demo Setup"); };
    return std::make_unique<InstallationRun>(std::move(context));
  }

  std::string Message(int number) { return GetMessageText(data_, number, ""); }
  std::string Dir(const std::string& name) const { return root_ / ("Demo\\" + name); }
  std::string Steps() { return vars_->ExpandText("%Steps%"); }

  test::ScratchFolder root_;
  ScratchKey key_;
  ScratchLocalMachine hklm_;
  FakeMachine info_;
  std::unique_ptr<Variables> vars_;
  TSetupData data_;
  UninstallerState state_;
  std::unique_ptr<TScriptEngine> scripts_;
  std::unique_ptr<FakeWizard> wizard_;
  std::vector<ArchiveEntry> entries_;
  std::unique_ptr<MemorySource> setup_file_;
  int32_t archive_offset_ = 0;
};

TEST_F(InstallationRunTest, InstallsOnTheInstallPageInTheWizardsOrder) {
  ASSERT_TRUE(hklm_.ok());
  AddFile("a.txt", "a");
  AddFile("b.txt", "b");
  Build();
  auto run = MakeRun();
  bool running_in_script = false;
  wizard_->on_script = [&](int) { running_in_script = scripts_->State().InstallationRunning; };
  run->StartInstallation();

  EXPECT_EQ(wizard_->log, (std::vector<std::string>{"page INSTALL", "script 1", "engine",
                                                    "no engine", "script 2", "show"}));
  EXPECT_EQ(Steps(), "before;after;");
  EXPECT_TRUE(running_in_script);
  EXPECT_FALSE(scripts_->State().InstallationRunning);
  EXPECT_TRUE(Exists(Dir("a.txt")));
  EXPECT_TRUE(Exists(Dir("uninst.dat")));
  // The engine's status reached the page's controls.
  EXPECT_NE(std::find(wizard_->status_lines.begin(), wizard_->status_lines.end(),
                      vars_->ExpandText(Message(kMsgCopyingFiles))),
            wizard_->status_lines.end());
  EXPECT_EQ(wizard_->bar->Max(), 100);
  EXPECT_EQ(wizard_->bar->Position(), 100);
  EXPECT_TRUE(run->Installed());

  // A second installation is not started.
  wizard_->log.clear();
  run->StartInstallation();
  EXPECT_TRUE(wizard_->log.empty());
}

TEST_F(InstallationRunTest, WithoutInstallPageTheCopyingWindowStandsInForTheWizard) {
  AddFile("a.txt", std::string(200000, 'x'));
  Build();
  wizard_->pages = {"Ready"};
  auto run = MakeRun();
  bool hidden_during = false;
  bool shown_during = false;
  int download_position = -1;
  std::string status_at_end;
  wizard_->on_script = [&](int slot) {
    TfrmCopyingFiles* copying = CopyingWindow();
    ASSERT_NE(copying, nullptr);
    if (slot == 1) {
      hidden_during = !IsWindowVisible(wizard_->Handle());
      shown_during = IsWindowVisible(copying->Handle());
      const RECT r = copying->BoundsRect();
      EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
      EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);
      // A download started by the script reports to the copying window.
      run->DownloadNotification(HttpProgressEvent::kStart, 0, 0);
      run->DownloadNotification(HttpProgressEvent::kData, 50, 200);
      download_position = copying->Progress().Position();
      run->DownloadNotification(HttpProgressEvent::kEnd, 0, 0);
    } else {
      status_at_end = copying->StatusLine().Text();
      EXPECT_EQ(copying->Progress().Position(), 100);
    }
  };
  run->StartInstallation();

  EXPECT_TRUE(hidden_during);
  EXPECT_TRUE(shown_during);
  EXPECT_EQ(download_position, 25);
  EXPECT_FALSE(status_at_end.empty());
  EXPECT_EQ(wizard_->log, (std::vector<std::string>{"hide", "script 1", "engine", "no engine",
                                                    "script 2", "show"}));
  EXPECT_EQ(CopyingWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(wizard_->Handle()));
  EXPECT_EQ(wizard_->bar->Position(), 0) << "the page's bar was not used";
  EXPECT_TRUE(Exists(Dir("a.txt")));

  // Outside an installation a download reports to the page.
  run->DownloadNotification(HttpProgressEvent::kStart, 0, 0);
  run->DownloadNotification(HttpProgressEvent::kData, 150, 200);
  EXPECT_EQ(wizard_->bar->Position(), 75);
}

TEST_F(InstallationRunTest, BillboardsStandAboveTheWizardPlacedLowOnTheScreen) {
  AddFile("a.txt", std::string(300000, 'x'));
  Build();
  test::WriteSolidBitmapFile(root_ / "Temp\\first.bmp", 200, 100, RGB(128, 128, 128));
  data_.Billboards = {"first.bmp"};
  auto run = MakeRun();
  RECT wizard{};
  RECT picture{};
  bool billboard_seen = false;
  wizard_->on_status = [&] {
    HWND billboard = FindWindowA(TfrmBillboard::kWindowClass, nullptr);
    if (billboard_seen || !billboard || !IsWindowVisible(billboard))
      return;
    billboard_seen = true;
    GetWindowRect(wizard_->Handle(), &wizard);
    GetWindowRect(billboard, &picture);
  };
  run->StartInstallation();

  ASSERT_TRUE(billboard_seen);
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  EXPECT_EQ(wizard.bottom, GetSystemMetrics(SM_CYSCREEN) - 48);
  EXPECT_EQ(wizard.left, (screen_width - (wizard.right - wizard.left)) / 2);
  EXPECT_EQ(picture.bottom, wizard.top - 32);
  EXPECT_EQ(picture.left, (screen_width - 200) / 2);
  EXPECT_EQ(picture.right - picture.left, 200);
  EXPECT_EQ(FindWindowA(TfrmBillboard::kWindowClass, nullptr), nullptr) << "closed at the end";
  // Centred again for the pages after the installation.
  GetWindowRect(wizard_->Handle(), &wizard);
  EXPECT_EQ(wizard.top, (GetSystemMetrics(SM_CYSCREEN) - (wizard.bottom - wizard.top)) / 2);
}

TEST_F(InstallationRunTest, StoppedBeforeScriptOrTooLittleSpaceInstallsNothing) {
  AddFile("a.txt", "a");
  Build();
  wizard_->pages = {"Ready"};
  wizard_->required_bytes = (wizard_->free_kb + 1) * 1000;
  auto run = MakeRun();
  ModalScript answers({{"#32770", [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }}});
  run->StartInstallation();
  EXPECT_EQ(answers.Done(), 1u) << "the no-space message";
  EXPECT_EQ(wizard_->log, (std::vector<std::string>{"end"}));

  // Exactly the required kilobytes free is enough; a script that stops ends the command.
  wizard_->log.clear();
  wizard_->required_bytes = wizard_->free_kb * 1000;
  TScriptStatement cancel;
  cancel.Code = 15;
  data_.Scripts[1] = ScriptOf({cancel});
  run->StartInstallation();
  EXPECT_EQ(wizard_->log, (std::vector<std::string>{"hide", "script 1", "show"}));
  EXPECT_EQ(CopyingWindow(), nullptr);
  EXPECT_FALSE(scripts_->State().InstallationRunning);
  EXPECT_FALSE(Exists(root_ / "Demo"));
}

TEST_F(InstallationRunTest, OverwritePromptIsAskedAndItsCancelRollsBack) {
  CreateDirectoryA((root_ / "Demo").c_str(), nullptr);
  std::ofstream(Dir("a.txt")) << "old a";
  AddFile("b.txt", "new b");
  AddFile("a.txt", "new a", 7);  // asks when it exists
  Build();
  auto run = MakeRun();
  ModalScript answers({{TfrmMsgBoxFiles::kWindowClass, [this](HWND prompt) {
                          test::Press(prompt, Message(1));  // Cancel
                        }}});
  wizard_->close_answers = {true};
  run->StartInstallation();

  EXPECT_EQ(answers.Done(), 1u);
  EXPECT_EQ(wizard_->log, (std::vector<std::string>{"page INSTALL", "script 1", "engine",
                                                    "close agreed", "no engine"}));
  EXPECT_EQ(Steps(), "before;") << "no after-installation script for a cancelled run";
  std::ifstream in(Dir("a.txt"));
  std::string kept((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(kept, "old a");
  EXPECT_FALSE(Exists(Dir("b.txt")));
  EXPECT_FALSE(Exists(Dir("uninst.dat")));
}

TEST_F(InstallationRunTest, NextDiskIsAskedUntilTheRightFolderIsGiven) {
  AddFile("a.bin", Noise(150000, 1));
  AddFile("b.bin", Noise(150000, 2));
  Build(120000);
  ASSERT_TRUE(Exists(root_ / "Downloads\\Setup.003"));
  // The second volume lies elsewhere; the others are beside the first.
  CreateDirectoryA((root_ / "Other").c_str(), nullptr);
  MoveFileA((root_ / "Downloads\\Setup.002").c_str(), (root_ / "Other\\Setup.002").c_str());
  auto run = MakeRun();
  const std::string other = root_ / "Other";
  const std::string downloads = root_ / "Downloads";
  ModalScript answers({
      // A wrong folder keeps the dialog open with its message.
      {TfrmNeedDisk::kWindowClass,
       [this](HWND dialog) { TypeAndPress(dialog, root_.Path(), Message(0)); }},
      {"#32770", [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }},
      {TfrmNeedDisk::kWindowClass,
       [other, this](HWND dialog) { TypeAndPress(dialog, other, Message(0)); }},
      {TfrmNeedDisk::kWindowClass,
       [downloads, this](HWND dialog) { TypeAndPress(dialog, downloads, Message(0)); }},
  });
  run->StartInstallation();

  EXPECT_EQ(answers.Done(), 4u);
  EXPECT_EQ(wizard_->log, (std::vector<std::string>{"page INSTALL", "script 1", "engine",
                                                    "no engine", "script 2", "show"}));
  EXPECT_TRUE(Exists(Dir("a.bin")));
  EXPECT_TRUE(Exists(Dir("b.bin")));
}

TEST_F(InstallationRunTest, FirstDiskIsAskedAgainAfterARefusedClose) {
  AddFile("a.txt", "a");
  Build();
  // The setup program's disk is gone once the files are in place.
  auto run = MakeRun(root_ / "Gone\\Setup.exe");
  std::ofstream(root_ / "Downloads\\Setup.001") << "first volume";
  const std::string downloads = root_ / "Downloads";
  ModalScript answers({
      {TfrmNeedDisk::kWindowClass, [this](HWND dialog) { test::Press(dialog, Message(1)); }},
      {TfrmNeedDisk::kWindowClass,
       [downloads, this](HWND dialog) { TypeAndPress(dialog, downloads, Message(0)); }},
  });
  wizard_->close_answers = {false};
  run->StartInstallation();

  EXPECT_EQ(answers.Done(), 2u);
  EXPECT_EQ(wizard_->log, (std::vector<std::string>{"page INSTALL", "script 1", "engine",
                                                    "close refused", "no engine", "script 2",
                                                    "show"}));
  EXPECT_TRUE(Exists(Dir("a.txt")));
}

TEST_F(InstallationRunTest, RemovingTheInstalledProductShowsItsProgressAndSetsTheResult) {
  ASSERT_TRUE(hklm_.ok());
  AddFile("a.txt", "a");
  Build();
  MakeRun()->StartInstallation();
  ASSERT_TRUE(Exists(Dir("uninst.dat")));
  wizard_->ShowPage("Ready");
  wizard_->log.clear();
  const std::string removing = vars_->ExpandText(Message(38));

  auto run = MakeRun();
  vars_->SetVariable("%Result%", "untouched");
  run->UninstallProduct("%Result%", "Other", "Acme");
  EXPECT_EQ(vars_->ExpandText("%Result%"), "untouched") << "a product that is not installed";

  run->UninstallProduct("%Result%", "Demo", "Acme");
  EXPECT_EQ(vars_->ExpandText("%Result%"), "2");
  EXPECT_FALSE(Exists(Dir("a.txt")));
  EXPECT_EQ(wizard_->log.front(), "uninstalling");
  EXPECT_EQ(wizard_->log.back(), "uninstalled");
  EXPECT_NE(std::find(wizard_->log.begin(), wizard_->log.end(), "page INSTALL"),
            wizard_->log.end());
  EXPECT_EQ(wizard_->current, "Ready") << "back on the page shown before";
  EXPECT_NE(std::find(wizard_->status_lines.begin(), wizard_->status_lines.end(), removing),
            wizard_->status_lines.end());
  EXPECT_FALSE(scripts_->State().InstallationRunning);

}

}  // namespace
}  // namespace kvb
