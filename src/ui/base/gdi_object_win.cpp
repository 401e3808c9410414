#include "ui/base/gdi_object_win.h"

namespace kvb {

OffscreenCanvas::OffscreenCanvas(HDC reference, int width, int height)
    : width_(width < 1 ? 1 : width), height_(height < 1 ? 1 : height) {
  HDC screen = reference ? nullptr : GetDC(nullptr);
  HDC base = reference ? reference : screen;
  dc_ = CreateCompatibleDC(base);
  bitmap_.Reset(CreateCompatibleBitmap(base, width_, height_));
  if (screen)
    ReleaseDC(nullptr, screen);
  if (dc_ && bitmap_)
    previous_ = SelectObject(dc_, bitmap_.Get());
}

OffscreenCanvas::~OffscreenCanvas() {
  if (dc_ && previous_)
    SelectObject(dc_, previous_);
  if (dc_)
    DeleteDC(dc_);
}

UniqueBitmap OffscreenCanvas::TakeBitmap() {
  if (dc_ && previous_)
    SelectObject(dc_, previous_);
  previous_ = nullptr;
  return std::move(bitmap_);
}

}  // namespace kvb
