// Drives the installation engine over a package built by kvbpack, without the wizard: the
// end-to-end tests' stand-in for the wizard until the engine is wired into it. Prompts are
// answered from the command line and everything the engine shows is printed.
//
//   install_run SETUP.exe [--answers Y,A,N,X,C] [--close yes,no] [--disk FOLDER|cancel]...
//                         [--cancel-at PERCENT] [--components A|B]
//                         [--maintenance] [--remove-product SOFTWARE|COMPANY]
//                         [--hotsync-user "NAME, NAME"]
//   install_run --dump-log uninst.dat
//
// --maintenance turns the run into a maintenance run when the product is installed: the
// previous installation's components become the selection (before --components applies),
// the newly selected components are installed and the deselected ones removed, as the
// wizard does. --remove-product removes another (or the own) product first, as the
// script command does, and prints its result. --hotsync-user chooses the HotSync users
// who receive the Palm files (the wizard's choice), else the user of the last HotSync.
// The device steps are the real ones: the Application Manager is started and waited for
// after the installed-programs entry, as the wizard does.
//
// Answers: Y Yes, A Yes To All, N No, X No To All, C Cancel; when they run out the answer
// is Cancel, and a close request agrees. Exit status: 0 installed, 3 aborted (rolled
// back), 2 the package or the command line is unusable.
#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "base/system_library_win.h"
#include "base/text.h"
#include "devices/device_steps_win.h"
#include "devices/hotsync_conduit_remover_win.h"
#include "devices/hotsync_win.h"
#include "install/install_machine_win.h"
#include "install/kalvenbrooker_install.h"
#include "setupdata/messages.h"
#include "setupdata/package_reader.h"
#include "uninstall/maintenance.h"
#include "uninstall/removal_machine_win.h"
#include "uninstall/uninstall_log.h"
#include "uninstall/uninstall_product.h"
#include "vars/registry_reader_win.h"
#include "vars/variable_loading.h"
#include "vars/windows_machine_win.h"

namespace kvb {
namespace {

const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kStop:
      return "stop";
    case MessageIcon::kExclamation:
      return "exclamation";
    default:
      return "information";
  }
}

class ConsoleHost final : public InstallHost {
 public:
  std::deque<PromptAnswer> answers;
  std::deque<bool> closes;
  std::deque<std::optional<std::string>> disks;
  int cancel_at = -1;
  TKalvenbrookerInstall* engine = nullptr;

  void Status(StatusKind kind, const std::string& text, int value) override {
    if (kind == StatusKind::kStatusLine)
      std::printf("status: %s\n", text.c_str());
    if (kind == StatusKind::kPosition && cancel_at >= 0 && value >= cancel_at && engine &&
        !engine->Aborted()) {
      std::printf("cancel at %d%%\n", value);
      engine->Abort();
    }
  }
  void ShowMessage(const std::string& text, MessageIcon icon) override {
    std::printf("message [%s]: %s\n", IconName(icon), text.c_str());
  }
  PromptAnswer AskFileOverwrite(const OverwritePrompt& prompt) override {
    const PromptAnswer answer = answers.empty() ? PromptAnswer::kCancel : answers.front();
    if (!answers.empty())
      answers.pop_front();
    std::printf("prompt: %s -> %d\n", prompt.Message.c_str(), static_cast<int>(answer));
    return answer;
  }
  bool RequestClose() override {
    const bool agreed = closes.empty() || closes.front();
    if (!closes.empty())
      closes.pop_front();
    std::printf("close request -> %s\n", agreed ? "yes" : "no");
    if (agreed && engine)
      engine->Abort();
    return agreed;
  }
  std::optional<std::string> AskNextDisk(const DiskPrompt& prompt) override {
    std::optional<std::string> answer;
    if (!disks.empty()) {
      answer = disks.front();
      disks.pop_front();
    }
    std::printf("disk %d in %s -> %s\n", prompt.Disk, prompt.Folder.c_str(),
                answer ? answer->c_str() : "cancel");
    return answer;
  }
  void ShowBillboard(const std::string& file) override {
    std::printf("billboard: %s\n", ExtractFileName(file).c_str());
  }
  void CloseBillboard() override {}
  bool ProcessMessages() override { return true; }
  void EndApplication() override { std::printf("end of application\n"); }
};

PromptAnswer ParseAnswer(const std::string& word) {
  switch (word.empty() ? 'C' : UpperAscii(word[0])) {
    case 'Y':
      return PromptAnswer::kYes;
    case 'A':
      return PromptAnswer::kYesToAll;
    case 'N':
      return PromptAnswer::kNo;
    case 'X':
      return PromptAnswer::kNoToAll;
    default:
      return PromptAnswer::kCancel;
  }
}

int DumpLog(const std::string& path) {
  TUninstallLog log;
  if (ReadUninstallLogFile(path, log) != LogReadStatus::kOk) {
    std::printf("unreadable log %s\n", path.c_str());
    return 2;
  }
  std::printf("product %s|%s\ncomponents %s\nicon %s\n", log.SoftwareName.c_str(),
              log.CompanyName.c_str(), log.InstalledComponents.c_str(), log.IconPath.c_str());
  for (const TUninstItem& item : log.Items) {
    if (item.Kind == kItemRegistryValue) {
      std::printf("item 5 %d %s|%s\n", item.RegChange.Root, item.RegChange.Key.c_str(),
                  item.RegChange.ValueName.c_str());
    } else {
      std::printf("item %d %s\n", item.Kind, item.Path.c_str());
    }
  }
  return 0;
}

// The progress of a product's removal, printed.
class ConsoleRemovalDisplay final : public RemovalDisplay {
 public:
  void Begin(const std::string& status, const std::string& button) override {
    std::printf("removal: %s [%s]\n", status.c_str(), button.c_str());
  }
  void SetMaximum(int maximum) override { std::printf("removal items: %d\n", maximum); }
  void SetPosition(int) override {}
  void End() override { std::printf("removal ended\n"); }
  void ProcessMessages() override {}
  void ShowError(const std::string& text) override {
    std::printf("message [stop]: %s\n", text.c_str());
  }
};

struct Options {
  std::string setup;
  std::string components;
  bool has_components = false;
  bool maintenance = false;
  std::string remove_product;  // "SOFTWARE|COMPANY"
  std::optional<std::string> hotsync_users;
};

// The script command that removes a product, with the run's own state around it.
void RemoveProduct(const std::string& product,
                   UninstallerState& state,
                   TSetupData& data,
                   Variables& vars,
                   RemovalMachine& machine) {
  const std::vector<std::string> names = SplitText(product, "|");
  ConsoleRemovalDisplay display;
  HotSyncConduitRemover conduits;
  ProductRemovalRun run(state, data, vars, machine, display, "install_run");
  run.Conduits = &conduits;
  UninstallProduct(run, "%RemoveResult%", names[0], names.size() > 1 ? names[1] : "");
  std::printf("remove-product result %s\n", vars.ExpandText("%RemoveResult%").c_str());
}

int Install(const Options& options, ConsoleHost& host) {
  std::unique_ptr<ByteSource> file = OpenFileSource(options.setup);
  if (!file) {
    std::printf("cannot open %s\n", options.setup.c_str());
    return 2;
  }
  TSetupPackage package;
  try {
    package = ReadPackage(*file);
  } catch (const std::exception& error) {
    std::printf("damaged package: %s\n", error.what());
    return 2;
  }
  TSetupData& data = package.Data;
  WindowsMachine machine_info;
  Variables vars(&machine_info);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string temp_dir =
      std::string(temp) + "kvbinstall-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(temp_dir.c_str(), nullptr);
  vars.TempSetupDir = temp_dir;
  ApplySetupProperties(vars, data.Properties);
  WinRegistryReader registry;
  LoadVariables(vars, data.Variables, registry);
  vars.Hooks.IsDirectoryVariableHook = DirectoryVariableTest(data.FileFolders);
  THotSync hotsync;
  hotsync.DetectHotSync();
  InitVariables(vars, data, options.hotsync_users.value_or(hotsync.CurrentUserName()),
                DefaultLanguageName(data));
  WinRemovalMachine removal_machine;
  UninstallerState state;
  if (!options.remove_product.empty())
    RemoveProduct(options.remove_product, state, data, vars, removal_machine);
  if (options.maintenance) {
    MaintenanceDetection detection(state, data, vars, removal_machine, [](const std::string& text) {
      std::printf("message [stop]: %s\n", text.c_str());
    });
    detection.DetectPreviousInstall();
    std::printf("maintenance %s, installed %s\n", state.Maintenance ? "yes" : "no",
                state.Data.InstalledComponents.c_str());
  }
  if (options.has_components)
    vars.SelectedComponents = options.components;

  std::unique_ptr<InstallMachine> machine = MakeWindowsInstallMachine();
  const std::unique_ptr<DeviceSteps> devices = MakeDeviceSteps();
  InstallContext context(data, vars, host, *machine);
  context.Devices = devices.get();
  context.SetupFile = file.get();
  context.ArchiveOffset = package.Header.Trailer.MainArchiveOffset;
  context.SetupPath = options.setup;
  context.TempSetupDir = temp_dir;
  if (state.Maintenance) {
    context.Maintenance = true;
    context.PreviousItems = &state.Data.Items;
    // The components selected now that were not installed before.
    context.NewComponents =
        ComponentsNotIn(vars.SelectedComponents, state.Data.InstalledComponents);
  }
  bool aborted = false;
  {
    TKalvenbrookerInstall engine(context);
    host.engine = &engine;
    engine.ShowFirstBillboard();
    engine.InstallFiles();
    engine.CreateShortcuts();
    engine.ApplyRegistryChanges();
    if (state.Maintenance && !engine.Aborted()) {
      host.Status(StatusKind::kStatusLine,
                  vars.ExpandText(GetMessageText(data, 59, vars.ExpandText("%Language%"))), 0);
      RemovalContext removal(removal_machine, vars, state.Msgs, "install_run");
      HotSyncConduitRemover conduits;
      removal.Conduits = &conduits;
      RemoveDeselectedComponents(state, removal, vars.SelectedComponents, {});
    }
    if (data.StartupOptions[kWriteUninstallInfo] && !data.StartupOptions[kDevicesOnly])
      engine.RegisterUninstall();
    engine.CloseBillboard();
    const std::string arguments = engine.AppManagerArguments();
    if (!arguments.empty())
      std::printf("application manager: %s\n", arguments.c_str());
    engine.RunAppManager();
    engine.RemoveStagedFiles();
    engine.Finish();
    aborted = engine.Aborted();
    std::printf("reboot %s\n", vars.ExpandText("%DoReboot%").c_str());
    host.engine = nullptr;
  }
  RemoveDirectoryA((temp_dir + "\\backup").c_str());
  RemoveDirectoryA(temp_dir.c_str());
  std::printf("%s\n", aborted ? "aborted" : "installed");
  return aborted ? 3 : 0;
}

int Run(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--dump-log")
    return DumpLog(argv[2]);
  Options options;
  ConsoleHost host;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const std::string value = i + 1 < argc ? argv[i + 1] : "";
    if (arg == "--answers") {
      for (const std::string& a : SplitText(value, ","))
        host.answers.push_back(ParseAnswer(a));
      ++i;
    } else if (arg == "--close") {
      for (const std::string& a : SplitText(value, ","))
        host.closes.push_back(SameText(a, "yes"));
      ++i;
    } else if (arg == "--disk") {
      host.disks.push_back(SameText(value, "cancel") ? std::nullopt
                                                     : std::optional<std::string>(value));
      ++i;
    } else if (arg == "--cancel-at") {
      host.cancel_at = std::atoi(value.c_str());
      ++i;
    } else if (arg == "--maintenance") {
      options.maintenance = true;
    } else if (arg == "--remove-product") {
      options.remove_product = value;
      ++i;
    } else if (arg == "--hotsync-user") {
      options.hotsync_users = value;
      ++i;
    } else if (arg == "--components") {
      options.components = value;
      options.has_components = true;
      ++i;
    } else if (options.setup.empty()) {
      char full[MAX_PATH];
      GetFullPathNameA(arg.c_str(), MAX_PATH, full, nullptr);
      options.setup = full;
    } else {
      std::printf("unexpected argument %s\n", arg.c_str());
      return 2;
    }
  }
  if (options.setup.empty()) {
    std::printf("usage: install_run SETUP.exe [options] | --dump-log uninst.dat\n");
    return 2;
  }
  return Install(options, host);
}

}  // namespace
}  // namespace kvb

int main(int argc, char** argv) {
  kvb::RestrictDllSearchPath();
  CoInitialize(nullptr);
  const int status = kvb::Run(argc, argv);
  std::fflush(stdout);
  CoUninitialize();
  return status;
}
