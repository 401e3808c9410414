#include "ui/installation/installation_run_win.h"

#include "base/message_pump.h"
#include "base/text.h"
#include "install/install_machine_win.h"
#include "install/kalvenbrooker_install.h"
#include "script/script_engine.h"
#include "setupdata/messages.h"
#include "ui/dialogs/dialog_context_win.h"
#include "ui/dialogs/file_action_dialog_win.h"
#include "ui/dialogs/need_disk_win.h"
#include "ui/installation/installation_layout.h"
#include "ui/installation/removal_display_win.h"
#include "ui/installation/wizard_install_host_win.h"
#include "uninstall/maintenance.h"
#include "uninstall/removal_machine_win.h"
#include "uninstall/removal_plan.h"
#include "uninstall/uninstall_product.h"
#include "vars/variables.h"

namespace kvb {
namespace {

constexpr int kMsgCancel = 1;
constexpr int kMsgNoSpace = 13;
constexpr int kMsgRemovingComponents = 59;

// The hourglass while a command runs, the previous cursor afterwards.
class Hourglass {
 public:
  Hourglass() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~Hourglass() { SetCursor(previous_); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;

 private:
  HCURSOR previous_;
};

// Sets a flag for the time of a command and puts its earlier value back, so that a
// removal run from the after-installation script leaves the installation's marks alone.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = previous_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

}  // namespace

InstallationRun::InstallationRun(InstallationContext context) : c_(std::move(context)) {}

InstallationRun::~InstallationRun() = default;

std::string InstallationRun::Message(int number, bool escape) {
  return c_.Vars.ExpandText(GetMessageText(c_.Data, number, c_.Vars.ExpandText("%Language%")),
                            escape);
}

std::string InstallationRun::Title() const {
  return c_.Title ? c_.Title() : std::string();
}

CopyingWindowLook InstallationRun::Look() const {
  return {.Caption = Title(),
          .Font = c_.Data.Properties.Font,
          .Billboards = !c_.Data.Billboards.empty()};
}

bool InstallationRun::EnoughSpace() {
  if (c_.Window.FreeSpace() >= c_.Window.RequiredSpace() / 1000)
    return true;
  const std::string install_dir = c_.Vars.ExpandText("%InstallDir%");
  const std::string drive = install_dir.empty() ? std::string() : install_dir.substr(0, 1);
  MessageBoxA(c_.Window.Handle(), ReplaceAllText(Message(kMsgNoSpace), "<drive>", drive).c_str(),
              Title().c_str(), MB_OK | MB_ICONSTOP);
  return false;
}

bool InstallationRun::RunScript(const TScript& script) {
  return c_.Scripts.ExecuteScript(script) || c_.Vars.ExpandText("%CanClose%") == "0";
}

void InstallationRun::StartInstallation() {
  if (installed_ || installing_)
    return;
  if (!EnoughSpace()) {
    c_.Window.EndProgram();
    return;
  }
  const Hourglass hourglass;
  const FlagScope installing(installing_);
  const FlagScope running(c_.Scripts.State().InstallationRunning);
  ProgressDisplay display(c_.Window, Look());
  if (!display.ShowInstallPage())
    display.ShowCopyingWindow(Message(kMsgCancel), true);
  active_display_ = &display;
  ProcessPendingMessages();

  if (c_.Window.RunGlobalScript(kScriptBeforeInstall)) {
    RunEngine(display);
  } else if (display.UsesCopyingWindow()) {
    // Nothing was installed: the wizard comes back instead of the copying window.
    display.CloseCopyingWindow();
    c_.Window.ShowForm();
  }
  active_display_ = nullptr;
  installed_ = true;
}

void InstallationRun::RunEngine(ProgressDisplay& display) {
  WizardInstallHost host(c_.Window, display, Title(), c_.Data.Properties.Font, c_.SetupPath);
  std::unique_ptr<InstallMachine> machine = MakeWindowsInstallMachine();
  InstallContext context(c_.Data, c_.Vars, host, *machine);
  context.Devices = c_.Devices;
  context.SetupFile = c_.SetupFile;
  context.ArchiveOffset = c_.ArchiveOffset;
  context.SetupPath = c_.SetupPath;
  context.TempSetupDir = c_.TempSetupDir;
  if (c_.State.Maintenance) {
    // Taken after the before-installation script, which may still change the selection.
    context.Maintenance = true;
    context.PreviousItems = &c_.State.Data.Items;
    context.NewComponents =
        ComponentsNotIn(c_.Vars.SelectedComponents, c_.State.Data.InstalledComponents);
  }
  TKalvenbrookerInstall engine(context);
  c_.Window.SetEngine(&engine);
  engine.ShowFirstBillboard();
  engine.InstallFiles();

  // The first disk must be back before the steps that read the setup program's folder.
  DialogContext disk_context;
  disk_context.Owner = display.Owner();
  disk_context.Font = c_.Data.Properties.Font;
  disk_context.Title = Title();
  const MessageText messages = [this](int number, bool escape) { return Message(number, escape); };
  while (!engine.Aborted() && GetFileAttributesA(c_.SetupPath.c_str()) == INVALID_FILE_ATTRIBUTES &&
         !AskFirstDisk(disk_context, messages, c_.SetupPath)) {
    if (c_.Window.RequestClose())
      engine.Abort();
  }

  engine.CreateShortcuts();
  engine.ApplyRegistryChanges();
  WinRemovalMachine removal_machine;
  FileActionDialog prompt([&display] { return display.Owner(); });
  if (c_.State.Maintenance && !engine.Aborted()) {
    display.Status(StatusKind::kStatusLine, Message(kMsgRemovingComponents));
    RemovalContext removal(removal_machine, c_.Vars, c_.State.Msgs, Title());
    removal.Prompt = &prompt;
    removal.Conduits = c_.Conduits;
    removal.ProcessMessages = [] { ProcessPendingMessages(); };
    RemovalCallbacks callbacks;
    callbacks.OnProgress = [&display](size_t total, size_t done) {
      display.Status(StatusKind::kPosition, "", MaintenanceRemovalPosition(total, done));
      return true;
    };
    RemoveDeselectedComponents(c_.State, removal, c_.Vars.SelectedComponents, callbacks);
  }
  if (c_.Data.StartupOptions[kWriteUninstallInfo] && !c_.Data.StartupOptions[kDevicesOnly])
    engine.RegisterUninstall();
  engine.CloseBillboard();

  // The Application Manager takes the screen while it runs.
  const bool make_way = !engine.AppManagerArguments().empty();
  const bool back_hidden = make_way && c_.Window.HasBackWindow();
  if (make_way) {
    if (back_hidden)
      c_.Window.ShowBackWindow(false);
    if (display.UsesCopyingWindow())
      display.HideCopyingWindow();
    else
      c_.Window.HideForm();
  }
  engine.RunAppManager();
  if (back_hidden)
    c_.Window.ShowBackWindow(true);
  engine.RemoveStagedFiles();
  engine.Finish();
  c_.Window.SetEngine(nullptr);

  if (engine.Aborted()) {
    display.CloseCopyingWindow();
    // Cancelled: the close query ends the program. Failed and undone: nothing is left to
    // do in the wizard, so the program ends as well rather than stay without a window.
    if (!c_.Window.ClosingAgreed())
      c_.Window.EndProgram();
    return;
  }
  if (c_.Window.RunGlobalScript(kScriptAfterInstall) && !c_.Data.Billboards.empty() &&
      !display.UsesCopyingWindow()) {
    c_.Window.CenterOnScreen();
  }
  // Also after a stopped script: the wizard never stays hidden behind a closed window.
  c_.Window.ShowForm();
  display.CloseCopyingWindow();
}

void InstallationRun::UninstallProduct(const std::string& result_variable,
                                       const std::string& software_name,
                                       const std::string& company_name) {
  if (uninstalling_)
    return;
  const Hourglass hourglass;
  const FlagScope uninstalling(uninstalling_);
  const FlagScope running(c_.Scripts.State().InstallationRunning);
  c_.Window.SetUninstalling(true);
  ProgressDisplay display(c_.Window, Look());
  ProgressDisplay* outer_display = active_display_;
  active_display_ = &display;
  WizardRemovalDisplay removal_display(c_.Window, display, Title());
  WinRemovalMachine machine;
  FileActionDialog prompt([&display] { return display.Owner(); });
  ProductRemovalRun run(c_.State, c_.Data, c_.Vars, machine, removal_display, Title());
  run.Prompt = &prompt;
  run.Conduits = c_.Conduits;
  run.RunScript = [this](const TScript& script) { return RunScript(script); };
  kvb::UninstallProduct(run, result_variable, software_name, company_name);
  active_display_ = outer_display;
  c_.Window.SetUninstalling(false);
}

void InstallationRun::DownloadNotification(HttpProgressEvent event,
                                           uint64_t received,
                                           uint64_t announced) {
  const ProgressReport report = DownloadProgressReport(event, received, announced);
  if (active_display_)
    active_display_->Status(report.Kind, "", report.Value);
  else
    c_.Window.ShowProgress(report.Kind, "", report.Value);
}

}  // namespace kvb
