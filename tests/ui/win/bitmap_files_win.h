// Bitmap files for the Win32 tests of the windows: pictures made pixel by pixel, and
// what a window shows saved for people to look at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui/base/gdi_object_win.h"
#include "ui/base/graphics_win.h"
#include "ui_test_support_win.h"

namespace kvb::test {

// Writes a bitmap file of `width` x `height` whose pixel (x, y), counted from the
// top-left corner, has the colour at(x, y).
inline void WriteBitmapFile(const std::string& path,
                            int width,
                            int height,
                            const std::function<COLORREF(int x, int y)>& at) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  auto* pixels = static_cast<uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = at(x, y);
      pixels[y * width + x] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
    }
  }
  SaveBitmapFile(bitmap.Get(), path);
}

// A bitmap file of one colour.
inline void WriteSolidBitmapFile(const std::string& path, int width, int height, COLORREF color) {
  WriteBitmapFile(path, width, height, [color](int, int) { return color; });
}

// Saves what the window's client area shows as a bitmap file.
inline void SaveWindowPicture(HWND window, const std::string& path) {
  const Picture picture(window);
  WriteBitmapFile(path, picture.Width(), picture.Height(),
                  [&picture](int x, int y) { return picture.At(x, y); });
}

}  // namespace kvb::test
