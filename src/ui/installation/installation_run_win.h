// InstallationRun: what the wizard does when a script asks for the installation (command
// 23), for the removal of a product (command 58), and with the progress of a download.
// The wizard creates one for the setup run and routes those commands to it; the run
// drives the installation engine and the removal over the wizard's window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/http_transport.h"
#include "setupdata/byte_source.h"
#include "setupdata/records.h"
#include "setupdata/setup_data.h"
#include "ui/installation/installation_window.h"
#include "ui/installation/progress_display_win.h"

namespace kvb {

class ConduitRemover;
class DeviceSteps;
class TScriptEngine;
class Variables;
struct UninstallerState;

// Everything the run works with. References and pointers must outlive it.
struct InstallationContext {
  InstallationContext(InstallationWindow& window,
                      TSetupData& data,
                      Variables& vars,
                      TScriptEngine& scripts,
                      UninstallerState& state)
      : Window(window), Data(data), Vars(vars), Scripts(scripts), State(state) {}

  InstallationWindow& Window;
  TSetupData& Data;
  Variables& Vars;
  TScriptEngine& Scripts;  // the run's interpreter: its InstallationRunning mark
  UninstallerState& State;  // the previous installation of a maintenance run
  ByteSource* SetupFile = nullptr;  // the setup program's own file (the main archive)
  int32_t ArchiveOffset = 0;        // from the trailer; 0: volume files
  std::string SetupPath;            // full path of the running setup program
  std::string TempSetupDir;         // the run's temporary folder
  std::function<std::string()> Title;  // the application title at the moment
  DeviceSteps* Devices = nullptr;      // none: the device steps do nothing
  ConduitRemover* Conduits = nullptr;  // none: a removed product's conduits stay
};

class InstallationRun {
 public:
  explicit InstallationRun(InstallationContext context);
  ~InstallationRun();
  InstallationRun(const InstallationRun&) = delete;
  InstallationRun& operator=(const InstallationRun&) = delete;

  // Command 23: checks the space, shows the progress, runs the before-installation
  // script, the engine's steps (and in a maintenance run the removal of the deselected
  // components), then the after-installation script, and shows the wizard again. Does
  // nothing once an installation has run, or while one runs.
  void StartInstallation();

  // Command 58 with its names expanded: removes the product with the progress on the
  // "INSTALL" page or the copying window and sets `result_variable`.
  void UninstallProduct(const std::string& result_variable,
                        const std::string& software_name,
                        const std::string& company_name);

  // The download progress (the script interpreter's download notification): to the
  // copying window while it shows an installation, else to the wizard's page.
  void DownloadNotification(HttpProgressEvent event, uint64_t received, uint64_t announced);

  bool Installed() const { return installed_; }
  // The copying window while it shows the progress of the running command, else null.
  HWND CopyingWindow() const {
    return active_display_ && active_display_->UsesCopyingWindow() ? active_display_->Owner()
                                                                  : nullptr;
  }

 private:
  std::string Message(int number, bool escape = false);
  std::string Title() const;
  CopyingWindowLook Look() const;
  bool EnoughSpace();
  bool RunScript(const TScript& script);
  void RunEngine(ProgressDisplay& display);

  InstallationContext c_;
  ProgressDisplay* active_display_ = nullptr;  // the display of the running command
  bool installed_ = false;
  bool installing_ = false;
  bool uninstalling_ = false;
};

}  // namespace kvb
