// The Win32 platform of the start-up sequence: the application object, the machine, the
// files of the temporary folder and the start-up windows of kvbsetup.exe.
#pragma once

#include <windows.h>

#include "base/private_folder_win.h"
#include "devices/hotsync_win.h"
#include "startup/application_win.h"
#include "startup/startup_host.h"
#include "vars/registry_reader_win.h"
#include "vars/windows_machine_win.h"

namespace kvb {

class WinStartupHost final : public StartupHost {
 public:
  // `application` must outlive the host.
  WinStartupHost(HINSTANCE instance, TApplication& application);

  void SetTitle(const std::string& title) override { application_.SetTitle(title); }
  std::string Title() const override { return application_.Title(); }
  void ShowMessage(const std::string& text, MessageIcon icon) override {
    application_.ShowMessage(text, icon);
  }
  std::unique_ptr<ByteSource> OpenOwnFile() override;

  std::string TempFolder() override { return machine_.GetTempFolder(); }
  FolderCreation CreateFolder(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  void RemoveFolderTree(const std::string& path) override;
  std::unique_ptr<ArchiveFiles> CreateArchiveFiles() override;

  MachineInfo& Machine() override { return machine_; }
  RegistryReader& Registry() override { return registry_; }
  bool IsActiveSyncPresent() override;
  bool IsHotSyncPresent() override { return hotsync_.Found(); }
  std::string DefaultHotSyncUser() override { return hotsync_.CurrentUserName(); }
  std::string HotSyncFolder() override { return hotsync_.HotSyncFolder(); }
  uintptr_t ApplicationHandle() override;
  uintptr_t ActiveWindowHandle() override;
  ScriptServices CreateScriptServices(const std::vector<TSetupPlatform>& platforms) override;
  ScriptEngineOptions ScriptOptions() override;

  ScreenSize Screen() override;
  std::unique_ptr<StartupForm> ShowLoader(const LoaderLook& look) override;
  std::unique_ptr<StartupForm> ShowSplash(const std::string& bitmap_file,
                                          const std::string& caption) override;
  void Wait(unsigned milliseconds) override;

  MainFormEnd RunMainForm(TSetupGlobals& globals) override;

 private:
  HINSTANCE instance_;
  TApplication& application_;
  WindowsMachine machine_;
  WinRegistryReader registry_;
  PrivateFolder temp_folder_;  // the run's temporary folder, held until it is removed
  THotSync hotsync_;  // detected when the host is made, at program start
};

// Waits for the time while dispatching the thread's window messages, so that its
// windows stay painted and answer. A quit request ends the wait and stays queued.
void WaitDispatchingMessages(unsigned milliseconds);

}  // namespace kvb
