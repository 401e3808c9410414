#include "ui/builder/program_icon_win.h"

#include "ui/base/graphics_win.h"

namespace kvb {

namespace {

BOOL CALLBACK TakeFirstIcon(HMODULE module, LPCSTR, LPSTR name, LONG_PTR found) {
  *reinterpret_cast<HICON*>(found) = LoadIconA(module, name);
  return FALSE;
}

}  // namespace

HICON ProgramIcon() {
  static HICON icon = [] {
    HICON first = nullptr;
    EnumResourceNamesA(GetModuleHandleA(nullptr), RT_GROUP_ICON, TakeFirstIcon,
                       reinterpret_cast<LONG_PTR>(&first));
    return first ? first : LoadIconA(nullptr, IDI_APPLICATION);
  }();
  return icon;
}

UniqueBitmap IconBitmap(HICON icon, uint32_t background) {
  if (!icon)
    return UniqueBitmap();
  const int width = GetSystemMetrics(SM_CXICON);
  const int height = GetSystemMetrics(SM_CYICON);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
  HGDIOBJ old = SelectObject(memory, bitmap.Get());
  RECT area = {0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(ColorOf(background));
  FillRect(memory, &area, brush);
  DeleteObject(brush);
  DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace kvb
