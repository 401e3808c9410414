#include "startup/startup_host_win.h"

#include "base/file_attributes_win.h"
#include "base/message_pump.h"
#include "base/text.h"
#include "devices/device_steps_win.h"
#include "devices/hotsync_conduit_remover_win.h"
#include "devices/rapi_tool_win.h"
#include "net/http_platform_win.h"
#include "script/script_services_win.h"
#include "startup/loader_form_win.h"
#include "startup/setup_globals.h"
#include "startup/splash_form_win.h"
#include "startup/startup_files_win.h"
#include "ui/back/back_window_win.h"
#include "ui/installation/installation_run_win.h"
#include "ui/wizard/wizard_back_host_win.h"
#include "ui/wizard/wizard_form_win.h"
#include "uninstall/maintenance.h"
#include "uninstall/removal_machine_win.h"
#include "vars/reg_key_win.h"

namespace kvb {

namespace {

// The full path of the running executable, as the system reports it; "" on failure.
std::string ExePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768)
      return {};
    path.resize(path.size() * 2);
  }
}

char LocaleDecimalSeparator() {
  char text[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof(text)) > 1)
    return text[0];
  return '.';
}

}  // namespace

WinStartupHost::WinStartupHost(HINSTANCE instance, TApplication& application)
    : instance_(instance), application_(application) {
  hotsync_.DetectHotSync();
}

std::unique_ptr<ByteSource> WinStartupHost::OpenOwnFile() {
  const std::string path = ExePath();
  return path.empty() ? nullptr : OpenFileSource(path);
}

FolderCreation WinStartupHost::CreateFolder(const std::string& path) {
  const std::string folder = ExcludeTrailingBackslash(path);
  const std::string parent = ExcludeTrailingBackslash(ExtractFilePath(folder));
  if (!parent.empty() && parent.size() < folder.size() &&
      CreateFolderWithParents(parent) == FolderCreation::kFailed) {
    return FolderCreation::kFailed;
  }
  return temp_folder_.Create(folder, IsProcessElevated());
}

bool WinStartupHost::FileExists(const std::string& path) {
  return IsFile(path);
}

bool WinStartupHost::DeleteFile(const std::string& path) {
  return DeleteFileForced(path);
}

void WinStartupHost::RemoveFolderTree(const std::string& path) {
  if (temp_folder_.Held() && SameText(ExcludeTrailingBackslash(path), temp_folder_.Path()))
    temp_folder_.Release();
  RemoveFolderTreeWin(path);
}

std::unique_ptr<ArchiveFiles> WinStartupHost::CreateArchiveFiles() {
  return MakePlatformArchiveFiles();
}

bool WinStartupHost::IsActiveSyncPresent() {
  return kvb::IsActiveSyncPresent();
}

uintptr_t WinStartupHost::ApplicationHandle() {
  return reinterpret_cast<uintptr_t>(application_.Handle());
}

uintptr_t WinStartupHost::ActiveWindowHandle() {
  return reinterpret_cast<uintptr_t>(GetActiveWindow());
}

ScriptServices WinStartupHost::CreateScriptServices(const std::vector<TSetupPlatform>& platforms) {
  ScriptServices services = CreateWin32ScriptServices([this] { return application_.Handle(); });
  auto device = std::make_unique<TRapiTool>();
  device->SetPlatforms(platforms);
  services.Device = std::move(device);
  services.HotSync = &hotsync_;
  services.Http = CreateWinInetTransport();
  return services;
}

ScriptEngineOptions WinStartupHost::ScriptOptions() {
  ScriptEngineOptions options;
  options.RandomSeed = GetTickCount();
  options.DecimalSeparator = LocaleDecimalSeparator();
  return options;
}

ScreenSize WinStartupHost::Screen() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::unique_ptr<StartupForm> WinStartupHost::ShowLoader(const LoaderLook& look) {
  return std::make_unique<TfrmSetupLoader>(instance_, application_.Handle(), look);
}

std::unique_ptr<StartupForm> WinStartupHost::ShowSplash(const std::string& bitmap_file,
                                                        const std::string& caption) {
  return TfrmSplashBitmapForm::Show(instance_, application_.Handle(), bitmap_file, caption,
                                    Screen());
}

void WinStartupHost::Wait(unsigned milliseconds) {
  WaitDispatchingMessages(milliseconds);
}

MainFormEnd WinStartupHost::RunMainForm(TSetupGlobals& globals) {
  // A previous installation of the package's product turns the run into a maintenance
  // run when a script asks (MODIFYMODE); the installation run then removes what the user
  // deselects.
  UninstallerState uninstaller;
  WinRemovalMachine removal_machine;
  MaintenanceDetection maintenance(uninstaller, globals.Data, *globals.Vars, removal_machine,
                                   [this](const std::string& text) {
                                     application_.ShowMessage(text, MessageIcon::kStop);
                                   });
  ScriptServices& services = globals.Scripts->State().Services;
  services.Maintenance = &maintenance;
  // The handheld steps of the installation, and the conduits of products a script removes.
  const std::unique_ptr<DeviceSteps> devices = MakeDeviceSteps();
  HotSyncConduitRemover conduits;

  WizardEnvironment environment;
  environment.Application = application_.Handle();
  environment.MakeInstallation = [&](TfrmSetupMain& form) {
    InstallationContext context(form, globals.Data, *globals.Vars, *globals.Scripts,
                                uninstaller);
    context.SetupFile = globals.SetupFileStream.get();
    context.ArchiveOffset = globals.Header.Trailer.MainArchiveOffset;
    context.SetupPath = ExePath();
    context.TempSetupDir = globals.TempSetupDir;
    context.Title = [this] { return application_.Title(); };
    context.Devices = devices.get();
    context.Conduits = &conduits;
    return std::make_unique<InstallationRun>(std::move(context));
  };
  environment.Data = &globals.Data;
  environment.Header = &globals.Header;
  environment.Vars = globals.Vars.get();
  environment.Scripts = globals.Scripts.get();
  environment.SetupProgramPath = ExePath();
  environment.ApplicationTitle = [this] { return application_.Title(); };
  environment.SetApplicationTitle = [this](const std::string& title) {
    application_.SetTitle(title);
  };
  environment.Machine = [this] {
    MachineFacts facts;
    facts.IsNT = machine_.IsNT();
    facts.PackedVersion = machine_.GetOSVersionPart(OSVersionPart::kPacked);
    facts.ServicePack =
        static_cast<uint16_t>(machine_.GetOSVersionPart(OSVersionPart::kServicePack));
    facts.ScreenWidth = machine_.GetScreenWidth();
    facts.ScreenHeight = machine_.GetScreenHeight();
    facts.ColorBits = machine_.GetColorDepth();
    facts.MemoryMB = machine_.GetRamMegabytes();
    return facts;
  };
  environment.ProgramsFolder = [this](bool all_users) {
    return machine_.GetShellFolder(all_users, ShellFolderKind::kPrograms);
  };
  // A package that asks for a background window gets it as the main window: it owns and
  // hosts the wizard and decides the closing.
  std::unique_ptr<TfrmBackWindow> back;
  if (globals.Data.StartupOptions[kUseBackWindow]) {
    back = std::make_unique<TfrmBackWindow>(globals.Data.Properties, globals.Data.BackItems,
                                            *globals.Vars);
    environment.Owner = back->Handle();
    environment.CloseThroughBackWindow = [&back](bool finishing) {
      return back->CloseForWizard(finishing);
    };
  }
  TfrmSetupMain wizard(std::move(environment));
  WizardBackHost back_host(wizard);
  if (back) {
    back->OnClosed = [] { PostQuitMessage(0); };
    if (!wizard.Ended()) {
      back->HostWizard(wizard.Handle(), back_host);
      wizard.StartWizard();
    }
  }
  MSG msg;
  while (!wizard.Ended() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (!TranslateFormMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // The quit message that ended the wizard stays out of the way of what follows.
  PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  services.Maintenance = nullptr;
  switch (wizard.EndReason()) {
    case WizardEnd::kCancelled:
      return MainFormEnd::kCancelled;
    case WizardEnd::kFailed:
      return MainFormEnd::kFailed;
    default:
      return MainFormEnd::kFinished;
  }
}

void WaitDispatchingMessages(unsigned milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (!ProcessPendingMessages())
      return;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= milliseconds)
      return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
  }
}

}  // namespace kvb
