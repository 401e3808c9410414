#include "gallery/window_picture_win.h"

#include <fstream>
#include <vector>

#include "ui/base/gdi_object_win.h"

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

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as bitmap files store rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  const int row = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(row) * height);
  if (!GetDIBits(canvas.Dc(), canvas.Bitmap(), 0, height, pixels.data(),
                 reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS)) {
    return false;
  }
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

}  // namespace kvb::gallery
