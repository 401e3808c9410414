#include "gallery/window_picture_win.h"

#include "ui/base/gdi_object_win.h"
#include "ui/base/graphics_win.h"

namespace kvb::gallery {

bool SaveWindowPicture(HWND window, const std::string& path) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  HDC source = GetWindowDC(window);
  OffscreenCanvas canvas(source, width, height);
  const bool copied =
      canvas.Valid() && BitBlt(canvas.Dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
  ReleaseDC(window, source);
  if (!copied)
    return false;
  return SaveBitmapFile(canvas.Bitmap(), path);
}

}  // namespace kvb::gallery
