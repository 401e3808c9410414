#include "uninstall/product_removal.h"

#include "vars/variables.h"

namespace kvb {

bool ScriptStopsRemoval(Variables& vars) {
  return vars.ExpandText("%CanClose%") != "0";
}

ProductRemovalResult RemoveProduct(RemovalContext& context,
                                   TSetupUninstallerData& data,
                                   const ProductRemovalHooks& hooks) {
  const auto stopped = [&](const TScript& script) {
    return hooks.RunScript && !hooks.RunScript(script) && ScriptStopsRemoval(context.Vars);
  };
  ProductRemovalResult result;
  if (stopped(data.BeforeScript))
    return result;
  result.Started = true;
  if (hooks.OnStart)
    hooks.OnStart(data.Items.size());
  RemovalSelection everything;
  everything.RemoveAll = true;
  everything.Components = data.InstalledComponents;
  result.Removed = RemoveItems(context, data.Items, data.NotRemoved, everything, hooks.Callbacks);
  result.StoppedAfter = stopped(data.AfterScript);
  return result;
}

}  // namespace kvb
