#include "ui/wizard/wizard_back_host_win.h"

#include "ui/wizard/page_order.h"
#include "ui/wizard/secondary_dialog_win.h"
#include "ui/wizard/wizard_form_win.h"

namespace kvb {

WizardCloseState WizardBackHost::CloseState() {
  WizardCloseState state;
  state.Exists = true;
  state.EngineRunning = form_.EngineRunning();
  state.Visible = IsWindowVisible(form_.Handle()) != FALSE;
  state.OnLastPage = form_.CurrentName() == LastPageName(form_.Data().Dialogs);
  return state;
}

bool WizardBackHost::AskYesNo(int number) {
  return form_.AskYesNo(form_.Message(number));
}

void WizardBackHost::StopExtraction() {
  // Nothing yet: the engine stops in ClosingAgreed, once the closing script has agreed
  // as well. Stopping it now would undo an installation that the script then keeps.
}

void WizardBackHost::SetFinishing(bool finishing) {
  form_.SetFinishing(finishing);
}

void WizardBackHost::RunClosingScript() {
  form_.RunGlobalScript(kClosingScriptSlot);
}

void WizardBackHost::ClosingAgreed() {
  form_.CloseAgreed();
}

void WizardBackHost::RestartWindows() {
  form_.RestartWindows();
}

HWND WizardBackHost::SecondaryDialog() {
  return form_.SecondaryDialog() ? form_.SecondaryDialog()->Handle() : nullptr;
}

HWND WizardBackHost::CopyingForm() {
  return form_.CopyingWindow();
}

}  // namespace kvb
