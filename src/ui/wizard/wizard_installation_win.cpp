// TfrmSetupMain: what the installation run needs of the form (installation_window.h).
#include "ui/installation/installation_run_win.h"
#include "ui/wizard/wizard_form_win.h"

namespace kvb {

void TfrmSetupMain::ShowProgress(StatusKind kind, const std::string& text, int value) {
  ShowProgress(static_cast<int>(kind), text, value);
}

void TfrmSetupMain::MoveTo(int left, int top) {
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmSetupMain::ShowBackWindow(bool visible) {
  if (env_.Owner)
    ShowWindow(env_.Owner, visible ? SW_SHOW : SW_HIDE);
}

bool TfrmSetupMain::RequestClose() {
  Close();
  return closing_ == 1;
}

HWND TfrmSetupMain::CopyingWindow() const {
  return installation_ ? installation_->CopyingWindow() : nullptr;
}

uint64_t TfrmSetupMain::RequiredSpace() {
  return binding_->RequiredSpace();
}

}  // namespace kvb
