#include "uninstall/uninstall_product.h"

#include "base/text.h"
#include "setupdata/messages.h"
#include "uninstall/product_removal.h"
#include "uninstall/uninstall_entry.h"
#include "vars/variables.h"

namespace kvb {
namespace {

constexpr int kMsgCancel = 1;
constexpr int kMsgUninstalling = 38;
constexpr int kMsgUninstallingComponents = 59;

std::string PackageMessage(const ProductRemovalRun& run, int number) {
  const std::string language = run.Vars.ExpandText("%Language%");
  return run.Vars.ExpandText(GetMessageText(run.Data, number, language), true);
}

// The removal itself, with the product's log applied to the run.
ProductRemovalResult RemoveWithDisplay(ProductRemovalRun& run, const TUninstallLog& log, bool own) {
  TSetupUninstallerData product;
  TSetupUninstallerMsgs msgs;
  ApplyUninstallLog(log, product, msgs, run.Data, run.Vars);
  run.Display.Begin(PackageMessage(run, kMsgUninstalling),
                    PackageMessage(run, own ? kMsgCancel : kMsgUninstallingComponents));
  run.Display.ProcessMessages();

  RemovalContext context(run.Machine, run.Vars, msgs, run.Caption);
  context.Prompt = run.Prompt;
  context.Conduits = run.Conduits;
  context.ProcessMessages = [&run] { run.Display.ProcessMessages(); };
  ProductRemovalHooks hooks;
  hooks.RunScript = run.RunScript;
  hooks.OnStart = [&run](size_t total) { run.Display.SetMaximum(static_cast<int>(total)); };
  hooks.Callbacks.OnProgress = [&run](size_t, size_t done) {
    run.Display.SetPosition(static_cast<int>(done));
    return true;
  };
  const ProductRemovalResult result = RemoveProduct(context, product, hooks);
  run.Display.End();
  // What stayed is the run's to show (a list control with the not-removed role).
  if (result.Started)
    run.State.Data.NotRemoved = std::move(product.NotRemoved);
  return result;
}

}  // namespace

void UninstallProduct(ProductRemovalRun& run,
                      const std::string& result_variable,
                      const std::string& software_name,
                      const std::string& company_name) {
  const bool own = SameText(software_name, run.Vars.SoftwareName) &&
                   SameText(company_name, run.Vars.CompanyName);
  if (own && run.State.OwnProductRemoved)
    return;
  if (!FindUninstallEntry(run.Machine, software_name, company_name))
    return;
  const std::string log_path = GetUninstallLogPath(run.Machine, software_name, company_name);
  if (log_path.empty() || !run.Machine.FileExists(log_path))
    return;
  TUninstallLog log;
  if (const std::optional<std::string> problem = LoadUninstallLog(log_path, log)) {
    run.Display.ShowError(*problem);
    run.Vars.SetVariable(result_variable, "0");
    return;
  }

  const RunStateSnapshot snapshot(run.Data, run.Vars);
  const ProductRemovalResult result = RemoveWithDisplay(run, log, own);
  snapshot.Restore(run.Data, run.Vars);
  if (!result.Started)
    return;
  run.Vars.SetVariable(result_variable, result.Removed ? "2" : "0");
  if (own) {
    // The previous installation the run may have detected is gone now.
    run.State.OwnProductRemoved = true;
    run.State.Data.Items.clear();
    run.State.Data.InstalledComponents.clear();
  }
}

}  // namespace kvb
