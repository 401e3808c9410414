// TfrmSetupMain: agreeing with the user and the package's scripts to close.
#include "ui/wizard/page_order.h"
#include "ui/wizard/wizard_form_win.h"
#include "vars/system_registration_win.h"
#include "vars/variables.h"

namespace kvb {

bool TfrmSetupMain::CloseQuery() {
  if (closing_ == 1)
    return true;
  return AskCloseConfirmation() && RunClosingScript();
}

bool TfrmSetupMain::AskCloseConfirmation() {
  if (current_name_ == LastPageName(env_.Data->Dialogs) || finishing_)
    return true;
  const std::string question = Message(kMessageCloseQuestion);
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
  env_.Scripts->ExecuteScript(env_.Data->Scripts[3]);
  if (Expand("%CanClose%") == "0") {
    finishing_ = false;
    return false;
  }
  closing_ = 1;
  if (current_dialog_)
    env_.Scripts->ExecuteScript(current_dialog_->Scripts[kLeaveScript]);
  if (Expand("%DoReboot%") == "1" && finishing_) {
    if (env_.RestartWindows)
      env_.RestartWindows();
    else
      kvb::RestartWindows();
  }
  const bool finished =
      finishing_ || installed_ || current_name_ == LastPageName(env_.Data->Dialogs);
  EndProgram(finished ? WizardEnd::kFinished : WizardEnd::kCancelled);
  return true;
}

}  // namespace kvb
