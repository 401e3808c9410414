#include "ui/controls/button_win.h"

#include "ui/base/form_win.h"

namespace kvb {

TButton::TButton(TWindow& parent,
                 int left,
                 int top,
                 int width,
                 int height,
                 const std::string& caption) {
  CreateControlWindow({.ClassName = "BUTTON",
                       .Style = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON,
                       .Text = caption,
                       .Left = left,
                       .Top = top,
                       .Width = width,
                       .Height = height,
                       .Parent = &parent});
}

void TButton::SetDefault(bool value) {
  default_ = value;
  if (Handle())
    SendMessageA(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool TButton::AnswersDialogKey(DialogKey key) const {
  return key == DialogKey::kEnter ? default_ : cancel_;
}

void TButton::Click() {
  if (!Enabled())
    return;
  if (modal_result_ != 0) {
    if (TForm* form = TForm::FormOf(*this))
      form->SetModalResult(modal_result_);
  }
  if (OnClick)
    OnClick(*this);
}

bool TButton::HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    Click();
    result = 0;
    return true;
  }
  return TWindow::HandleNotification(message, wparam, lparam, result);
}

}  // namespace kvb
