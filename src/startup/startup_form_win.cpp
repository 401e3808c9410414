#include "startup/startup_form_win.h"

namespace kvb {

bool TStartupWindow::CreateFormWindow(const WindowParams& window) {
  return CreateOwnWindow({.ClassName = window.ClassName,
                          .Style = window.Style & ~WS_VISIBLE,
                          .ExStyle = window.ExStyle,
                          .Text = window.Caption,
                          .Left = window.Bounds.left,
                          .Top = window.Bounds.top,
                          .Width = window.Bounds.right - window.Bounds.left,
                          .Height = window.Bounds.bottom - window.Bounds.top,
                          .ParentHandle = window.Owner,
                          .Cursor = LoadCursorA(nullptr, window.Cursor)});
}

void TStartupWindow::ShowAndPaint() {
  ShowWindow(Handle(), SW_SHOWNORMAL);
  UpdateWindow(Handle());
}

}  // namespace kvb
