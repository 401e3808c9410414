#include "ui/dialogs/start_ce_connection_win.h"

#include <memory>

#include "ui/controls/label_win.h"

namespace kvb {

namespace {

struct WaitState {
  std::unique_ptr<TfrmStartCEConnection> Window;
  HCURSOR Previous = nullptr;
};

WaitState& Wait() {
  static WaitState state;
  return state;
}

}  // namespace

TfrmStartCEConnection::TfrmStartCEConnection(HWND owner,
                                             const std::string& caption,
                                             const std::string& message)
    : TForm({.ClassName = kWindowClass,
             .Caption = caption,
             .ClientWidth = 301,
             .ClientHeight = 45,
             .Owner = owner,
             .Cursor = LoadCursorA(nullptr, IDC_WAIT)}) {
  label_ = &Own(std::make_unique<TLabel>(*this, 15, 15, 272, 14, message));
  label_->SetFont(BoldFont(label_->Font()));
  label_->Show();
}

void TfrmStartCEConnection::SetFont(const TFontRecord& font) {
  TForm::SetFont(font);
  if (label_)
    label_->SetFont(BoldFont(font));
}

void ShowConnectionWait(bool show, const ConnectionWaitLook& look) {
  WaitState& wait = Wait();
  if (!show) {
    if (!wait.Window)
      return;
    wait.Window.reset();
    SetCursor(wait.Previous);
    return;
  }
  if (wait.Window)
    return;
  wait.Previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  HWND active = GetActiveWindow();
  wait.Window = std::make_unique<TfrmStartCEConnection>(active ? active : look.Application,
                                                        look.Caption, look.Message);
  if (look.Font)
    wait.Window->SetFont(*look.Font);
  wait.Window->CenterOnScreen();
  wait.Window->Show();
  UpdateWindow(wait.Window->Handle());
}

TfrmStartCEConnection* ConnectionWaitWindow() {
  return Wait().Window.get();
}

}  // namespace kvb
