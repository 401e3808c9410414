// The removal's process-wide state in a setup run, reading a log into it, and keeping a
// run's own state apart from a log that is read only to remove another product.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setupdata/setup_data.h"
#include "uninstall/uninstall_log.h"
#include "uninstall/uninstaller_data.h"
#include "vars/variables.h"

namespace kvb {

// One per setup run, owned with the run's other state.
struct UninstallerState {
  // Scripts 5 and 6 of the package at start-up; the previous installation's log once
  // one is detected.
  TSetupUninstallerData Data;
  TSetupUninstallerMsgs Msgs;
  // A previous installation of the package's own product was found: the run installs
  // the newly selected components and removes the deselected ones. Stays set.
  bool Maintenance = false;
  // The package's own product was removed by a script in this run.
  bool OwnProductRemoved = false;
};

// Reads the log file at `path`. Returns the message that says why it cannot be used
// ("Invalid Uninstaller Script." for a file that is no uninstall log, a text naming the
// file when it cannot be opened or is damaged), or nullopt when `log` holds it.
std::optional<std::string> LoadUninstallLog(const std::string& path, TUninstallLog& log);

// What applying a log changes in a run: the package's names, comments, font, default
// folders and platform table, the process-wide names and the whole variable store. Taken
// before another product's log is applied, put back afterwards, so that the run goes on
// with its own state.
class RunStateSnapshot {
 public:
  RunStateSnapshot(const TSetupData& data, const Variables& vars);
  void Restore(TSetupData& data, Variables& vars) const;

 private:
  TSetupProperties properties_;
  std::vector<TSetupPlatform> platforms_;
  std::string software_name_;
  std::string company_name_;
  TVariableList variables_;
};

}  // namespace kvb
