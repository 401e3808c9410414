// TfrmSetupMain: agreeing with the user and the package's scripts to close.
#include "install/kalvenbrooker_install.h"
#include "ui/wizard/page_order.h"
#include "ui/wizard/wizard_form_win.h"
#include "vars/system_registration_win.h"
#include "vars/variables.h"

namespace kvb {

bool TfrmSetupMain::CloseQuery() {
  // An installation that is already aborted ends without another question.
  if (closing_ == 1 || (engine_ && engine_->Aborted()))
    return true;
  if (env_.CloseThroughBackWindow)
    return env_.CloseThroughBackWindow(finishing_);
  return AskCloseConfirmation() && RunClosingScript();
}

bool TfrmSetupMain::AskCloseConfirmation() {
  // While installing only finishing closes unasked, and the question says that the
  // installation is going on.
  if (finishing_ || (!engine_ && current_name_ == LastPageName(env_.Data->Dialogs)))
    return true;
  return AskYesNo(Message(engine_ ? kMessageCloseWhileInstalling : kMessageCloseQuestion));
}

bool TfrmSetupMain::AskYesNo(const std::string& question) {
  if (env_.AskYesNo)
    return env_.AskYesNo(question);
  const std::string title = env_.ApplicationTitle ? env_.ApplicationTitle() : "";
  return MessageBoxA(Handle(), question.c_str(), title.c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

bool TfrmSetupMain::RunClosingScript() {
  Variables& vars = *env_.Vars;
  vars.SetVariable("%CanClose%", "1");
  vars.SetVariable("%IsFinishingSetup%", finishing_ ? "1" : "0");
  env_.Scripts->ExecuteScript(env_.Data->Scripts[kClosingScriptSlot]);
  if (Expand("%CanClose%") == "0") {
    finishing_ = false;
    return false;
  }
  CloseAgreed();
  // The leave script that CloseAgreed ran may still ask for the restart.
  if (Expand("%DoReboot%") == "1" && finishing_)
    RestartWindows();
  return true;
}

void TfrmSetupMain::CloseAgreed() {
  closing_ = 1;
  // The installation stops (and is undone) as soon as its current step returns.
  if (engine_)
    engine_->Abort();
  if (current_dialog_)
    env_.Scripts->ExecuteScript(current_dialog_->Scripts[kLeaveScript]);
  const bool finished =
      finishing_ || installed_ || current_name_ == LastPageName(env_.Data->Dialogs);
  EndProgram(finished ? WizardEnd::kFinished : WizardEnd::kCancelled);
}

void TfrmSetupMain::RestartWindows() {
  if (env_.RestartWindows)
    env_.RestartWindows();
  else
    kvb::RestartWindows();
}

}  // namespace kvb
