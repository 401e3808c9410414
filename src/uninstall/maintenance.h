// Maintenance runs: a previous installation of the package's own product turns the run
// into one (the script command MODIFYMODE), and the components the user deselects in it
// are removed while the new selection is installed.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "setupdata/setup_data.h"
#include "uninstall/previous_install.h"
#include "uninstall/remove_items.h"
#include "uninstall/uninstaller_state.h"

namespace kvb {

class Variables;

class MaintenanceDetection final : public PreviousInstallDetector {
 public:
  // `show_error` shows a message box with the stop icon, owned by the wizard.
  MaintenanceDetection(UninstallerState& state,
                       TSetupData& data,
                       Variables& vars,
                       RemovalMachine& machine,
                       std::function<void(const std::string& text)> show_error);

  // When the package's product has its installed-programs entry and the log it names
  // exists: the log replaces the run's previous-installation data, names, variables and
  // uninstall texts; its installed components become the custom selection (setup type 2)
  // and %SetupType% "2"; the run becomes a maintenance run. A log that cannot be used is
  // reported and changes nothing.
  void DetectPreviousInstall() override;

 private:
  UninstallerState& state_;
  TSetupData& data_;
  Variables& vars_;
  RemovalMachine& machine_;
  std::function<void(const std::string& text)> show_error_;
};

// Removes, in a maintenance run, the components that were installed before and are not
// in `selected_now`; files that a component still selected shares stay. The removed
// items leave the previous installation's item list, which then describes what stays
// installed. `context.Texts` should be `state.Msgs`.
bool RemoveDeselectedComponents(UninstallerState& state,
                                RemovalContext& context,
                                const std::string& selected_now,
                                const RemovalCallbacks& callbacks);

// The progress position of that removal, which fills the second half of the bar.
int MaintenanceRemovalPosition(size_t total, size_t done);

}  // namespace kvb
