// The removal of an installed product on a script's request in a setup run, and the
// progress display it needs from the wizard.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "setupdata/records.h"
#include "setupdata/setup_data.h"
#include "uninstall/removal_machine.h"
#include "uninstall/uninstaller_state.h"

namespace kvb {

class Variables;

// What the wizard shows while a script removes a product. All calls come from inside
// UninstallProduct, on the user-interface thread.
class RemovalDisplay {
 public:
  virtual ~RemovalDisplay() = default;
  // Marks the wizard busy (it refuses to close meanwhile) with the hourglass, and shows
  // the progress: the page "INSTALL" with `status` as status line, an empty detail line
  // and position 0, or, without that page, the copying-progress window with `status` as
  // heading and its button disabled and captioned `button_caption`.
  virtual void Begin(const std::string& status, const std::string& button_caption) = 0;
  virtual void SetMaximum(int maximum) = 0;
  virtual void SetPosition(int position) = 0;
  // Back to the page shown before Begin (or the wizard form again), busy mark and
  // hourglass cleared.
  virtual void End() = 0;
  virtual void ProcessMessages() = 0;
  // A message box with the stop icon and the application title, owned by the wizard.
  virtual void ShowError(const std::string& text) = 0;
};

// Everything the removal of a product works with in a setup run.
struct ProductRemovalRun {
  ProductRemovalRun(UninstallerState& state,
                    TSetupData& data,
                    Variables& vars,
                    RemovalMachine& machine,
                    RemovalDisplay& display,
                    std::string caption)
      : State(state),
        Data(data),
        Vars(vars),
        Machine(machine),
        Display(display),
        Caption(std::move(caption)) {}

  UninstallerState& State;
  TSetupData& Data;
  Variables& Vars;
  RemovalMachine& Machine;
  RemovalDisplay& Display;
  std::string Caption;                 // the application title
  FileActionPrompt* Prompt = nullptr;  // the four-button question
  ConduitRemover* Conduits = nullptr;  // none: conduits stay and are reported
  // Runs a script of the removed product's log; false when it stopped.
  std::function<bool(const TScript& script)> RunScript;
};

// Removes the product named by `software_name` and `company_name` completely, when its
// installed-programs entry exists and names a log that exists; otherwise nothing happens
// and `result_variable` keeps its value. Nothing happens either for the package's own
// product once a script removed it in this run.
//
// The product's log is read first: a log that cannot be used is reported and sets the
// result to "0" without anything being run or removed. Then the progress is shown, the
// log's before script runs (stopping it ends the command, nothing removed), every item is
// removed, and the log's after script runs. The log is applied only for the time of the
// removal: afterwards the run's names, variables, font and platform table are its own
// again, and the run's own previous installation is left as it was. `result_variable` is
// then "2" when the removal went through and "0" when it failed (a log without items);
// the run's not-removed list names what stayed.
void UninstallProduct(ProductRemovalRun& run,
                      const std::string& result_variable,
                      const std::string& software_name,
                      const std::string& company_name);

}  // namespace kvb
