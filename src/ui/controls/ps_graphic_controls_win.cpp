#include "ui/controls/ps_graphic_controls_win.h"

#include <algorithm>

#include "base/file_attributes_win.h"
#include "ui/base/graphics_win.h"
#include "ui/controls/visual_styles_win.h"

namespace kvb {

namespace {

// Keeps a window at least `min_width` x `min_height` when it is resized.
void KeepMinimumSize(LPARAM lparam, int min_width, int min_height) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(lparam);
  if (pos->flags & SWP_NOSIZE)
    return;
  pos->cx = std::max(pos->cx, min_width);
  pos->cy = std::max(pos->cy, min_height);
}

// A picture file's bitmap; empty when the name is empty or the file is missing or no
// bitmap.
UniqueBitmap LoadPictureFile(const std::string& file_name, const PictureResolver& resolver) {
  if (file_name.empty())
    return UniqueBitmap();
  const std::string path = resolver ? resolver(file_name) : file_name;
  if (!IsFile(path))
    return UniqueBitmap();
  return LoadBitmapFile(path);
}

}  // namespace

// --- TPSImage ---

TPSImage::TPSImage(TWindow& parent, TSetupControl record)
    : TImage(parent,
             record.Left,
             record.Top,
             std::max(record.Width, 10),
             std::max(record.Height, 10)),
      TPSControl(std::move(record)) {}

void TPSImage::SetBorder(bool border) {
  border_ = border;
  Invalidate();
}

void TPSImage::SetFileName(const std::string& file_name) {
  file_name_ = file_name;
  Reload();
}

void TPSImage::Reload() {
  SetPicture(LoadPictureFile(file_name_, OnResolvePicture));
}

void TPSImage::Paint(HDC dc) {
  TImage::Paint(dc);
  if (!border_)
    return;
  RECT client;
  GetClientRect(Handle(), &client);
  if (VisualStyles::Get().Active())
    DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
  else
    DrawEdge(dc, &client, EDGE_SUNKEN, BF_RECT | BF_SOFT);
}

LRESULT TPSImage::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_WINDOWPOSCHANGING)
    KeepMinimumSize(lparam, 10, 10);
  return TImage::WndProc(message, wparam, lparam);
}

// --- TPSImageButton ---

TPSImageButton::TPSImageButton(TWindow& parent, TSetupControl record)
    : TPSControl(std::move(record)) {
  CreateControlWindow({.ClassName = "STATIC",
                       .Style = WS_CHILD | WS_CLIPSIBLINGS | SS_NOTIFY,
                       .Left = Record().Left,
                       .Top = Record().Top,
                       .Width = std::max(Record().Width, 10),
                       .Height = std::max(Record().Height, 10),
                       .Parent = &parent});
}

void TPSImageButton::SetFileName(const std::string& file_name) {
  file_name_ = file_name;
  Reload();
}

void TPSImageButton::Reload() {
  SetPicture(LoadPictureFile(file_name_, OnResolvePicture));
}

void TPSImageButton::SetPicture(UniqueBitmap bitmap) {
  picture_ = std::move(bitmap);
  Invalidate();
}

void TPSImageButton::Paint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, ColorBrush());
  const SIZE size = BitmapSize(picture_.Get());
  if (size.cx >= 5 && size.cy >= 5) {
    // The top-left part that fits the client area less 4 pixels each way, centred; its
    // own bottom-left pixel gives the transparent colour.
    const int width = std::min<int>(size.cx, client.right - 4);
    const int height = std::min<int>(size.cy, client.bottom - 4);
    if (width > 0 && height > 0) {
      const int left = (client.right - width) / 2;
      const int top = (client.bottom - height) / 2;
      MemoryDc memory(dc);
      COLORREF transparent;
      {
        SelectedObject selected(memory.Get(), picture_.Get());
        transparent = GetPixel(memory.Get(), 0, height - 1);
      }
      DrawTransparentBitmap(dc, {left, top, left + width, top + height}, picture_.Get(),
                            {0, 0, width, height}, transparent);
    }
  }
  DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
}

LRESULT TPSImageButton::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (auto painted = HandlePaintMessage(message, wparam, [this](HDC dc) { Paint(dc); }))
    return *painted;
  if (message == WM_WINDOWPOSCHANGING)
    KeepMinimumSize(lparam, 10, 10);
  return TWindow::WndProc(message, wparam, lparam);
}

bool TPSImageButton::HandleNotification(UINT message,
                                        WPARAM wparam,
                                        LPARAM lparam,
                                        LRESULT& result) {
  return RaiseOnCommand(message, wparam, STN_CLICKED, OnClick, result) ||
         TWindow::HandleNotification(message, wparam, lparam, result);
}

// --- TPSLine ---

TPSLine::TPSLine(TWindow& parent, TSetupControl record) : TPSControl(std::move(record)) {
  CreateControlWindow({.ClassName = "STATIC",
                       .Style = WS_CHILD | WS_CLIPSIBLINGS,
                       .Left = Record().Left,
                       .Top = Record().Top,
                       .Width = std::max(Record().Width, 10),
                       .Height = std::max(Record().Height, 4),
                       .Parent = &parent});
}

void TPSLine::Paint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, ColorBrush());
  const int y = client.bottom / 2 - 1;
  RECT shadow = {0, y, client.right, y + 1};
  FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
  if (VisualStyles::Get().Active())
    return;
  RECT highlight = {0, y + 1, client.right, y + 2};
  FillRect(dc, &highlight, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

LRESULT TPSLine::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (auto painted = HandlePaintMessage(message, wparam, [this](HDC dc) { Paint(dc); }))
    return *painted;
  if (message == WM_WINDOWPOSCHANGING)
    KeepMinimumSize(lparam, 10, 4);
  return TWindow::WndProc(message, wparam, lparam);
}

// --- TPSShape ---

TPSShape::TPSShape(TWindow& parent, TSetupControl record) : TPSControl(std::move(record)) {
  CreateControlWindow({.ClassName = "STATIC",
                       .Style = WS_CHILD | WS_CLIPSIBLINGS,
                       .Left = Record().Left,
                       .Top = Record().Top,
                       .Width = Record().Width,
                       .Height = Record().Height,
                       .Parent = &parent});
}

void TPSShape::SetShape(int shape) {
  shape_ = shape >= stRectangle && shape <= stCircle ? static_cast<ShapeType>(shape) : stRectangle;
  Invalidate();
}

void TPSShape::SetPenColor(uint32_t color) {
  pen_color_ = color;
  Invalidate();
}

void TPSShape::SetBrushColor(uint32_t color) {
  brush_color_ = color;
  Invalidate();
}

void TPSShape::Paint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  PaintParentBackground(Handle(), dc);
  int x = 0;
  int y = 0;
  int w = client.right;
  int h = client.bottom;
  const bool square = shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle;
  if (square) {
    const int side = std::min(w, h);
    x = (w - side) / 2;
    y = (h - side) / 2;
    w = h = side;
  }
  UniquePen pen(CreatePen(PS_SOLID, 1, ColorOf(pen_color_)));
  UniqueBrush brush(CreateSolidBrush(ColorOf(brush_color_)));
  SelectedObject selected_pen(dc, pen.Get());
  SelectedObject selected_brush(dc, brush.Get());
  switch (shape_) {
    case stRectangle:
    case stSquare:
      Rectangle(dc, x, y, x + w, y + h);
      break;
    case stRoundRect:
    case stRoundSquare: {
      const int corner = std::min(w, h) / 4;
      RoundRect(dc, x, y, x + w, y + h, corner, corner);
      break;
    }
    case stEllipse:
    case stCircle:
      Ellipse(dc, x, y, x + w, y + h);
      break;
  }
}

LRESULT TPSShape::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (auto painted = HandlePaintMessage(message, wparam, [this](HDC dc) { Paint(dc); }))
    return *painted;
  if (message == WM_SIZE)
    Invalidate();
  return TWindow::WndProc(message, wparam, lparam);
}

// --- TPSFrame, TPSProgress ---

TPSFrame::TPSFrame(TWindow& parent, TSetupControl record)
    : TOpaqueFrame(parent, record.Left, record.Top, record.Width, record.Height, "Frame"),
      TPSControl(std::move(record)) {}

TPSProgress::TPSProgress(TWindow& parent, TSetupControl record)
    : TProgressBar(parent, record.Left, record.Top, record.Width, record.Height, true),
      TPSControl(std::move(record)) {}

}  // namespace kvb
