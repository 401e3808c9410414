#include "ui/controls/image_win.h"

#include "ui/base/graphics_win.h"

namespace kvb {

void DrawPicture(HDC dc, HBITMAP bitmap, const RECT& dest, bool stretch, bool transparent) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cx == 0 || size.cy == 0)
    return;
  const RECT target =
      stretch ? dest : RECT{dest.left, dest.top, dest.left + size.cx, dest.top + size.cy};
  const RECT source = {0, 0, size.cx, size.cy};
  if (transparent) {
    DrawTransparentBitmap(dc, target, bitmap, source, BottomLeftColor(bitmap));
    return;
  }
  MemoryDc memory(dc);
  SelectedObject selected(memory.Get(), bitmap);
  const int old_mode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
             memory.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
  SetStretchBltMode(dc, old_mode);
}

TImage::TImage(TWindow& parent, int left, int top, int width, int height) {
  CreateControlWindow({.ClassName = "STATIC",
                       .Style = WS_CHILD | WS_CLIPSIBLINGS | SS_NOTIFY,
                       .Left = left,
                       .Top = top,
                       .Width = width,
                       .Height = height,
                       .Parent = &parent});
}

TImage::~TImage() {
  DestroyIcon();
}

void TImage::SetPicture(UniqueBitmap bitmap) {
  DestroyIcon();
  picture_ = std::move(bitmap);
  Invalidate();
}

void TImage::SetIcon(HICON icon, bool owned) {
  DestroyIcon();
  picture_.Reset();
  icon_ = icon;
  icon_owned_ = owned;
  Invalidate();
}

void TImage::ClearPicture() {
  SetPicture(UniqueBitmap());
}

void TImage::DestroyIcon() {
  if (icon_ && icon_owned_)
    ::DestroyIcon(icon_);
  icon_ = nullptr;
}

void TImage::SetStretch(bool stretch) {
  stretch_ = stretch;
  Invalidate();
}

void TImage::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Invalidate();
}

void TImage::PaintPicture(HDC dc, const RECT& area) {
  if (picture_) {
    DrawPicture(dc, picture_.Get(), area, stretch_, transparent_);
    return;
  }
  if (!icon_)
    return;
  ICONINFO info{};
  SIZE size = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  if (GetIconInfo(icon_, &info)) {
    const SIZE colour = BitmapSize(info.hbmColor);
    if (colour.cx > 0)
      size = colour;
    if (info.hbmColor)
      DeleteObject(info.hbmColor);
    if (info.hbmMask)
      DeleteObject(info.hbmMask);
  }
  DrawIconEx(dc, area.left + (area.right - area.left - size.cx) / 2,
             area.top + (area.bottom - area.top - size.cy) / 2, icon_, size.cx, size.cy, 0, nullptr,
             DI_NORMAL);
}

void TImage::Paint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  if (transparent_)
    PaintParentBackground(Handle(), dc);
  else
    FillRect(dc, &client, ColorBrush());
  PaintPicture(dc, client);
}

LRESULT TImage::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (auto painted = HandlePaintMessage(message, wparam, [this](HDC dc) { Paint(dc); }))
    return *painted;
  if (message == WM_SIZE)
    Invalidate();
  return TWindow::WndProc(message, wparam, lparam);
}

bool TImage::HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  return RaiseOnCommand(message, wparam, STN_CLICKED, OnClick, result) ||
         TWindow::HandleNotification(message, wparam, lparam, result);
}

}  // namespace kvb
