#include "ui/controls/label_win.h"

#include "ui/base/graphics_win.h"

namespace kvb {

TLabel::TLabel(TWindow& parent,
               int left,
               int top,
               int width,
               int height,
               const std::string& caption) {
  CreateControlWindow({.ClassName = "STATIC",
                       .Style = WS_CHILD | SS_LEFT | SS_NOTIFY,
                       .Text = caption,
                       .Left = left,
                       .Top = top,
                       .Width = width,
                       .Height = height,
                       .Parent = &parent});
}

void TLabel::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Invalidate();
}

void TLabel::SetWordWrap(bool word_wrap) {
  word_wrap_ = word_wrap;
  Invalidate();
}

void TLabel::SetCentredVertically(bool centred) {
  centred_ = centred;
  Invalidate();
}

void TLabel::SetShowAccelChar(bool show) {
  show_accel_ = show;
  // The style tells the dialog manager whether the label has a mnemonic.
  LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  style = show ? (style & ~SS_NOPREFIX) : (style | SS_NOPREFIX);
  SetWindowLongA(Handle(), GWL_STYLE, style);
  Invalidate();
}

UINT TLabel::TextFormat() const {
  return DT_LEFT | DT_EXPANDTABS | (word_wrap_ ? DT_WORDBREAK : 0) |
         (show_accel_ ? 0 : DT_NOPREFIX);
}

void TLabel::Paint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  if (transparent_)
    PaintParentBackground(Handle(), dc);
  else
    FillRect(dc, &client, ColorBrush());
  SelectedObject selected(dc, DrawingFont());
  const std::string text = Text();
  const UINT format = TextFormat();
  RECT area = client;
  if (centred_) {
    RECT needed = client;
    DrawTextA(dc, text.c_str(), -1, &needed, format | DT_CALCRECT);
    area.top += (client.bottom - needed.bottom) / 2;
  }
  DrawControlText(dc, text, area, format, Enabled(), FontColor());
}

LRESULT TLabel::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (auto painted = HandlePaintMessage(message, wparam, [this](HDC dc) { Paint(dc); }))
    return *painted;
  switch (message) {
    case WM_SETTEXT:
    case WM_ENABLE: {
      const LRESULT result = TWindow::WndProc(message, wparam, lparam);
      Invalidate();
      return result;
    }
  }
  return TWindow::WndProc(message, wparam, lparam);
}

bool TLabel::HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  return RaiseOnCommand(message, wparam, STN_CLICKED, OnClick, result) ||
         TWindow::HandleNotification(message, wparam, lparam, result);
}

}  // namespace kvb
