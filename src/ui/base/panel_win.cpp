#include "ui/base/panel_win.h"

namespace kvb {

TPanel::TPanel(TWindow& parent, int left, int top, int width, int height) {
  CreateOwnWindow({.ClassName = "TPanel",
                   .Style = WS_CHILD | WS_CLIPCHILDREN,
                   .ExStyle = WS_EX_CONTROLPARENT,
                   .Left = left,
                   .Top = top,
                   .Width = width,
                   .Height = height,
                   .Parent = &parent});
}

}  // namespace kvb
