#include "startup/startup_form_win.h"

namespace kvb {

bool TStartupWindow::CreateFormWindow(const WindowParams& window) {
  CreateParams params;
  params.ClassName = window.ClassName;
  params.Style = window.Style & ~WS_VISIBLE;
  params.Text = window.Caption;
  params.Left = window.Bounds.left;
  params.Top = window.Bounds.top;
  params.Width = window.Bounds.right - window.Bounds.left;
  params.Height = window.Bounds.bottom - window.Bounds.top;
  params.ParentHandle = window.Owner;
  params.Cursor = LoadCursorA(nullptr, window.Cursor);
  return CreateOwnWindow(params);
}

void TStartupWindow::ShowAndPaint() {
  ShowWindow(Handle(), SW_SHOWNORMAL);
  UpdateWindow(Handle());
}

}  // namespace kvb
