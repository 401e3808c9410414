// Bitmap files for the Win32 tests of the windows: pictures made pixel by pixel, and
// what a window shows saved for people to look at.
#pragma once

#include <windows.h>

#include <fstream>
#include <functional>
#include <string>

#include "ui_test_support_win.h"

namespace kvb::test {

// Writes a 24-bit bitmap file of `width` x `height` whose pixel (x, y), counted from the
// top-left corner, has the colour at(x, y).
inline void WriteBitmapFile(const std::string& path,
                            int width,
                            int height,
                            const std::function<COLORREF(int x, int y)>& at) {
  const int row = (width * 3 + 3) & ~3;
  std::string pixels(static_cast<size_t>(row * height), '\0');
  for (int y = 0; y < height; ++y) {
    // Bitmap files store the bottom row first.
    char* line = pixels.data() + static_cast<size_t>((height - 1 - y) * row);
    for (int x = 0; x < width; ++x) {
      const COLORREF c = at(x, y);
      line[x * 3] = static_cast<char>(GetBValue(c));
      line[x * 3 + 1] = static_cast<char>(GetGValue(c));
      line[x * 3 + 2] = static_cast<char>(GetRValue(c));
    }
  }
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out << pixels;
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
