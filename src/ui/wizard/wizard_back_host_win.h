// The wizard form as the background window sees it: the state its close decision needs,
// the question and the closing script asked through the form, and the windows the form
// shows in front of itself.
#pragma once

#include "ui/back/back_window_win.h"

namespace kvb {

class TfrmSetupMain;

class WizardBackHost final : public BackWindowHost {
 public:
  explicit WizardBackHost(TfrmSetupMain& form) : form_(form) {}

  WizardCloseState CloseState() override;
  bool AskYesNo(int number) override;
  void StopExtraction() override;
  void SetFinishing(bool finishing) override;
  void RunClosingScript() override;
  void ClosingAgreed() override;
  void RestartWindows() override;
  HWND SecondaryDialog() override;
  HWND CopyingForm() override;

 private:
  TfrmSetupMain& form_;
};

}  // namespace kvb
