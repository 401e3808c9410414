#include "ui/wizard/secondary_dialog_win.h"

#include <memory>

#include "ui/base/graphics_win.h"
#include "ui/base/modal_result.h"

namespace kvb {

namespace {

// Posted at the first paint: the shown script runs outside the paint message.
constexpr UINT kRunShownScript = WM_APP + 1;

}  // namespace

TfrmSecondaryDialog::TfrmSecondaryDialog(HWND owner)
    : TForm({.ClassName = kWindowClass,
             .Caption = "",
             .ClientWidth = 251,
             .ClientHeight = 198,
             .Owner = owner,
             .Font = {"Arial", 8, kClWindowText, 0, 1}}) {
  pnlSecondary_ = &Own(std::make_unique<TPanel>(*this, 0, 0, 251, 198));
  pnlSecondary_->Show();
}

void TfrmSecondaryDialog::SetDialogSize(int width, int height) {
  SetClientSize(width, height);
  pnlSecondary_->SetBounds(0, 0, width, height);
}

LRESULT TfrmSecondaryDialog::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT && !shown_script_done_) {
    shown_script_done_ = true;
    PostMessageA(Handle(), kRunShownScript, 0, 0);
  } else if (message == kRunShownScript) {
    if (OnFirstShown && !OnFirstShown())
      SetModalResult(kMrAbort);
    return 0;
  }
  return TForm::WndProc(message, wparam, lparam);
}

}  // namespace kvb
