#include "ui/controls/opaque_frame_win.h"

#include "ui/base/graphics_win.h"

namespace kvb {

namespace {

// Where the caption starts, and the room left beside its text.
constexpr int kCaptionLeft = 8;
constexpr int kCaptionPadding = 2;

}  // namespace

TOpaqueFrame::TOpaqueFrame(TWindow& parent,
                           int left,
                           int top,
                           int width,
                           int height,
                           const std::string& caption) {
  if (!CreateControlWindow({.ClassName = "BUTTON",
                            .Style = WS_CHILD | WS_CLIPSIBLINGS | BS_GROUPBOX,
                            .Text = caption,
                            .Left = left,
                            .Top = top,
                            .Width = width > 0 ? width : 100,
                            .Height = height > 0 ? height : 100,
                            .Parent = &parent}))
    return;
  // Below every sibling, and clipped by them, so that it never paints over a control
  // placed on it.
  SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TOpaqueFrame::SetCtl3D(bool ctl3d) {
  ctl3d_ = ctl3d;
  Invalidate();
}

void TOpaqueFrame::SetEnabled(bool enabled) {
  TWindow::SetEnabled(enabled);
  Invalidate();
}

void TOpaqueFrame::Paint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  PaintParentBackground(Handle(), dc);
  SelectedObject selected(dc, DrawingFont());
  const std::string caption = Text();
  const int text_height = TextExtent(dc, "0").cy;

  RECT frame = client;
  frame.top += text_height / 2;
  if (ctl3d_) {
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  } else {
    FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
  }
  if (caption.empty())
    return;

  RECT text = {kCaptionLeft, 0, kCaptionLeft, text_height};
  DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT);
  RECT back = {text.left - kCaptionPadding, 0, text.right + kCaptionPadding, text_height};
  FillRect(dc, &back, ColorBrush());
  DrawControlText(dc, caption, text, DT_SINGLELINE, Enabled(), FontColor());
}

LRESULT TOpaqueFrame::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (auto painted = HandlePaintMessage(message, wparam, [this](HDC dc) { Paint(dc); }))
    return *painted;
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    // The group box class draws these changes straight onto the screen: paint again.
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SIZE:
    case WM_UPDATEUISTATE: {
      const LRESULT result = TWindow::WndProc(message, wparam, lparam);
      Invalidate();
      return result;
    }
  }
  return TWindow::WndProc(message, wparam, lparam);
}

}  // namespace kvb
