#include "tools/driver/icons_win.h"

#include <vector>

#include "tools/driver/windows_win.h"

namespace kvb::driver {
namespace {

using Pixels = std::vector<COLORREF>;

// Copies a w x h area of `source` at (x, y), or draws `icon` on `background` when given.
Pixels Capture(HDC source, int x, int y, int w, int h, HICON icon, COLORREF background) {
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  if (icon) {
    const RECT all{0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    DrawIconEx(memory, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
  } else {
    BitBlt(memory, 0, 0, w, h, source, x, y, SRCCOPY);
  }
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  Pixels pixels(static_cast<size_t>(w) * h);
  GetDIBits(memory, bitmap, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return pixels;
}

// The icon matches when every pixel it covers fully (the same on black and on white)
// is the same on the screen, and it covers a good part of its square.
bool IconMatches(HDC screen, const Pixels& shot, HICON icon, int w, int h) {
  const Pixels on_black = Capture(screen, 0, 0, w, h, icon, RGB(0, 0, 0));
  const Pixels on_white = Capture(screen, 0, 0, w, h, icon, RGB(255, 255, 255));
  size_t opaque = 0;
  for (size_t i = 0; i < shot.size(); ++i) {
    if (on_black[i] != on_white[i])
      continue;
    ++opaque;
    if (on_black[i] != shot[i])
      return false;
  }
  return opaque * 4 >= shot.size();
}

}  // namespace

HWND FindIconControl(HWND top) {
  for (const WindowInfo& info : WindowTree(top)) {
    if (info.depth > 0 && info.visible &&
        (GetWindowLongA(info.hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      return info.hwnd;
  }
  return nullptr;
}

const char* StandardIconOnScreen(HWND control) {
  static const struct {
    LPCSTR id;
    const char* name;
  } kIcons[] = {{IDI_HAND, "stop"},
                {IDI_EXCLAMATION, "exclamation"},
                {IDI_ASTERISK, "information"},
                {IDI_QUESTION, "question"}};
  POINT origin{0, 0};
  ClientToScreen(control, &origin);
  const int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
  HDC screen = GetDC(nullptr);
  const Pixels shot = Capture(screen, origin.x, origin.y, w, h, nullptr, 0);
  const char* found = nullptr;
  for (const auto& icon : kIcons) {
    if (IconMatches(screen, shot, LoadIconA(nullptr, icon.id), w, h)) {
      found = icon.name;
      break;
    }
  }
  ReleaseDC(nullptr, screen);
  return found;
}

}  // namespace kvb::driver
