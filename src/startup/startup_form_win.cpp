#include "startup/startup_form_win.h"

namespace kvb {

bool TStartupWindow::CreateFormWindow(const WindowSpec& spec) {
  CreateParams params;
  params.ClassName = spec.ClassName;
  params.Style = spec.Style & ~WS_VISIBLE;
  params.Text = spec.Caption;
  params.Left = spec.Bounds.left;
  params.Top = spec.Bounds.top;
  params.Width = spec.Bounds.right - spec.Bounds.left;
  params.Height = spec.Bounds.bottom - spec.Bounds.top;
  params.ParentHandle = spec.Owner;
  params.Cursor = LoadCursorA(nullptr, spec.Cursor);
  return CreateOwnWindow(params);
}

void TStartupWindow::ShowAndPaint() {
  ShowWindow(Handle(), SW_SHOWNORMAL);
  UpdateWindow(Handle());
}

}  // namespace kvb
