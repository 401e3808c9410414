#include "ui/controls/progress_bar_win.h"

#include "ui/controls/common_controls_win.h"

namespace kvb {

TProgressBar::TProgressBar(TWindow& parent, int left, int top, int width, int height, bool smooth) {
  CommonControls::Get();  // registers the class
  if (CreateControlWindow({.ClassName = PROGRESS_CLASSA,
                           .Style = WS_CHILD | (smooth ? DWORD{PBS_SMOOTH} : 0),
                           .Left = left,
                           .Top = top,
                           .Width = width,
                           .Height = height,
                           .Parent = &parent}))
    SetRange(0, 100);
}

int TProgressBar::Min() const {
  return static_cast<int>(SendMessageA(Handle(), PBM_GETRANGE, TRUE, 0));
}

int TProgressBar::Max() const {
  return static_cast<int>(SendMessageA(Handle(), PBM_GETRANGE, FALSE, 0));
}

void TProgressBar::SetRange(int min, int max) {
  SendMessageA(Handle(), PBM_SETRANGE32, min, max);
}

int TProgressBar::Position() const {
  return static_cast<int>(SendMessageA(Handle(), PBM_GETPOS, 0, 0));
}

void TProgressBar::SetPosition(int position) {
  SendMessageA(Handle(), PBM_SETPOS, position, 0);
}

}  // namespace kvb
