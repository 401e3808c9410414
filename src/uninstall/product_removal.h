// A complete removal of one product from its uninstall log: the log's before-uninstall
// script, every item, the log's after-uninstall script. Shared by the uninstaller program
// and by the script command that removes a product in a setup run.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "uninstall/remove_items.h"
#include "uninstall/uninstaller_data.h"

namespace kvb {

struct ProductRemovalHooks {
  // Runs one of the log's scripts; false when the script stopped (the run then ends
  // unless the script left %CanClose% at "0"). Unset: scripts are not run.
  std::function<bool(const TScript& script)> RunScript;
  // Called once the before script let the removal go on, with the number of items.
  std::function<void(size_t total)> OnStart;
  RemovalCallbacks Callbacks;
};

struct ProductRemovalResult {
  // The before script let the removal go on; false: nothing was removed.
  bool Started = false;
  // The items were removed (NotRemoved names what stayed); false when the log holds no
  // items or the progress handler stopped the removal.
  bool Removed = false;
  // The after script stopped the run.
  bool StoppedAfter = false;
};

// Runs the removal of `data` (a log applied with ApplyUninstallLog): every item goes,
// whatever its components. `context.Vars` decides the scripts' stop rule.
ProductRemovalResult RemoveProduct(RemovalContext& context,
                                   TSetupUninstallerData& data,
                                   const ProductRemovalHooks& hooks);

// True when a script that returned false ends the run: %CanClose% is not "0".
bool ScriptStopsRemoval(Variables& vars);

}  // namespace kvb
