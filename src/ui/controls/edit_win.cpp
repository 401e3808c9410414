#include "ui/controls/edit_win.h"

#include "ui/base/graphics_win.h"

namespace kvb {

TEdit::TEdit(TWindow& parent, int left, int top, int width, int height, const std::string& text) {
  if (CreateControlWindow({.ClassName = "EDIT",
                           .Style = WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL,
                           .ExStyle = WS_EX_CLIENTEDGE,
                           .Text = text,
                           .Left = left,
                           .Top = top,
                           .Width = width,
                           .Height = height,
                           .Parent = &parent}))
    SetColor(kClWindow);
}

bool TEdit::ReadOnly() const {
  return Handle() && (GetWindowLongA(Handle(), GWL_STYLE) & ES_READONLY);
}

void TEdit::SetReadOnly(bool read_only) {
  if (Handle())
    SendMessageA(Handle(), EM_SETREADONLY, read_only, 0);
}

bool TEdit::HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  return RaiseOnCommand(message, wparam, EN_CHANGE, OnChange, result) ||
         TWindow::HandleNotification(message, wparam, lparam, result);
}

}  // namespace kvb
