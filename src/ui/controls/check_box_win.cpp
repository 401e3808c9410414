#include "ui/controls/check_box_win.h"

namespace kvb {

TCheckStyleButton::TCheckStyleButton(TWindow& parent,
                                     int left,
                                     int top,
                                     int width,
                                     int height,
                                     const std::string& caption,
                                     DWORD button_style) {
  CreateControlWindow({.ClassName = "BUTTON",
                       .Style = WS_CHILD | button_style,
                       .Text = caption,
                       .Left = left,
                       .Top = top,
                       .Width = width,
                       .Height = height,
                       .Parent = &parent});
}

bool TCheckStyleButton::Checked() const {
  return Handle() && SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckStyleButton::SetTransparentPaint(bool on) {
  transparent_.SetOn(on);
  Invalidate();
}

void TCheckStyleButton::FireClick() {
  if (OnClick)
    OnClick(*this);
}

LRESULT TCheckStyleButton::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (!transparent_.On())
    return TWindow::WndProc(message, wparam, lparam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (TTransparentPaint::ActivePaints() == 0) {
        const auto paint_button = [this](HDC target) {
          DefaultHandler(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target),
                         PRF_CLIENT | PRF_ERASEBKGND);
        };
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        // Without the off-screen bitmaps the button still shows, over its own colour.
        if (!transparent_.Paint(dc, paint_button))
          paint_button(dc);
        EndPaint(Handle(), &paint);
        return 0;
      }
      break;
    // The button draws these changes straight onto the screen, over the background:
    // paint it again the transparent way.
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SIZE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_UPDATEUISTATE: {
      const LRESULT result = TWindow::WndProc(message, wparam, lparam);
      RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      return result;
    }
  }
  return TWindow::WndProc(message, wparam, lparam);
}

TCheckBox::TCheckBox(TWindow& parent,
                     int left,
                     int top,
                     int width,
                     int height,
                     const std::string& caption)
    : TCheckStyleButton(parent, left, top, width, height, caption, WS_TABSTOP | BS_AUTOCHECKBOX) {}

void TCheckBox::SetChecked(bool checked) {
  if (!Handle() || checked == Checked())
    return;
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  FireClick();
}

bool TCheckBox::HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    // The box has toggled itself already.
    FireClick();
    result = 0;
    return true;
  }
  return TCheckStyleButton::HandleNotification(message, wparam, lparam, result);
}

TRadioButton::TRadioButton(TWindow& parent,
                           int left,
                           int top,
                           int width,
                           int height,
                           const std::string& caption)
    : TCheckStyleButton(parent, left, top, width, height, caption, BS_RADIOBUTTON) {}

void TRadioButton::SetChecked(bool checked) {
  if (!Handle() || checked == Checked())
    return;
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  // Tab reaches the checked button of a group; arrows move between them.
  LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  SetWindowLongA(Handle(), GWL_STYLE, checked ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  if (!checked)
    return;
  if (TWindow* parent = Parent()) {
    for (size_t i = 0; i < parent->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TRadioButton*>(parent->Control(i));
      if (sibling && sibling != this)
        sibling->SetChecked(false);
    }
  }
  FireClick();
}

bool TRadioButton::HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    SetChecked(true);
    result = 0;
    return true;
  }
  return TCheckStyleButton::HandleNotification(message, wparam, lparam, result);
}

}  // namespace kvb
