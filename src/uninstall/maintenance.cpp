#include "uninstall/maintenance.h"

#include <algorithm>
#include "uninstall/uninstall_entry.h"
#include "vars/variables.h"

namespace kvb {

MaintenanceDetection::MaintenanceDetection(UninstallerState& state,
                                           TSetupData& data,
                                           Variables& vars,
                                           RemovalMachine& machine,
                                           std::function<void(const std::string& text)> show_error)
    : state_(state),
      data_(data),
      vars_(vars),
      machine_(machine),
      show_error_(std::move(show_error)) {}

void MaintenanceDetection::DetectPreviousInstall() {
  const TSetupProperties& p = data_.Properties;
  if (!FindUninstallEntry(machine_, p.SoftwareName, p.CompanyName))
    return;
  const std::string path = GetUninstallLogPath(machine_, p.SoftwareName, p.CompanyName);
  if (path.empty() || !machine_.FileExists(path))
    return;
  TUninstallLog log;
  if (const std::optional<std::string> problem = LoadUninstallLog(path, log)) {
    if (show_error_)
      show_error_(*problem);
    return;
  }
  // The log lists the whole installation: a second detection replaces the first.
  state_.Data.Items.clear();
  ApplyUninstallLog(log, state_.Data, state_.Msgs, data_, vars_);
  data_.Properties.ComponentsType2 = state_.Data.InstalledComponents;
  vars_.SetupTypeComponents[2] = state_.Data.InstalledComponents;
  vars_.SetVariable("%SetupType%", "2");
  state_.Maintenance = true;
}

bool RemoveDeselectedComponents(UninstallerState& state,
                                RemovalContext& context,
                                const std::string& selected_now,
                                const RemovalCallbacks& callbacks) {
  RemovalSelection selection;
  selection.Components = ComponentsNotIn(state.Data.InstalledComponents, selected_now);
  selection.Kept = selected_now;
  context.Maintenance = state.Maintenance;
  return RemoveItems(context, state.Data.Items, state.Data.NotRemoved, selection, callbacks);
}

int MaintenanceRemovalPosition(size_t total, size_t done) {
  if (total == 0)
    return 100;
  return 50 + static_cast<int>(std::min(done, total) * 50 / total);
}

}  // namespace kvb
