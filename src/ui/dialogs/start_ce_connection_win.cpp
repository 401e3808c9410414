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
  auto& label = Own(std::make_unique<TLabel>(*this, 15, 15, 272, 14, message));
  TFontRecord bold = label.Font();
  bold.Style |= 1;
  label.SetFont(bold);
  label.Show();
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
  if (look.Font) {
    wait.Window->SetFont(*look.Font);
    // The message keeps its bold style in the package's face and size.
    TWindow* label = wait.Window->Control(0);
    TFontRecord bold = *look.Font;
    bold.Style |= 1;
    label->SetFont(bold);
  }
  wait.Window->CenterOnScreen();
  wait.Window->Show();
  UpdateWindow(wait.Window->Handle());
}

TfrmStartCEConnection* ConnectionWaitWindow() {
  return Wait().Window.get();
}

}  // namespace kvb
