#include "ui/base/panel_win.h"

namespace kvb {

TPanel::TPanel(TWindow& parent, int left, int top, int width, int height) {
  CreateParams params;
  params.ClassName = "TPanel";
  params.Style = WS_CHILD | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_CONTROLPARENT;
  params.Left = left;
  params.Top = top;
  params.Width = width;
  params.Height = height;
  params.Parent = &parent;
  CreateOwnWindow(params);
}

}  // namespace kvb
