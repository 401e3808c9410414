#include "ui/base/graphics_win.h"

#include <fstream>
#include <vector>

#include "ui/base/window_win.h"

namespace kvb {

COLORREF ColorOf(uint32_t color) {
  if (color & 0x80000000u)
    return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0x00FFFFFF);
}

namespace {

int ScreenPixelsPerInch() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

UniqueFont CreateRecordFont(const TFontRecord& font) {
  std::string face = font.FaceName;
  if (face.empty()) {
    LOGFONTA system{};
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(system), &system))
      face = system.lfFaceName;
  }
  const int height = -MulDiv(static_cast<int>(font.Size), ScreenPixelsPerInch(), 72);
  return UniqueFont(CreateFontA(height, 0, 0, 0, (font.Style & 1) ? FW_BOLD : FW_NORMAL,
                                (font.Style & 2) != 0, (font.Style & 4) != 0, (font.Style & 8) != 0,
                                font.Charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str()));
}

TFontRecord FontRecordOf(HFONT font, uint32_t color) {
  TFontRecord record;
  record.Color = color;
  LOGFONTA info{};
  if (!font || !GetObjectA(font, sizeof(info), &info))
    return record;
  record.FaceName = info.lfFaceName;
  const int pixels = info.lfHeight < 0 ? -info.lfHeight : info.lfHeight;
  record.Size = static_cast<uint32_t>(MulDiv(pixels, 72, ScreenPixelsPerInch()));
  record.Style = static_cast<uint8_t>((info.lfWeight >= FW_BOLD ? 1 : 0) | (info.lfItalic ? 2 : 0) |
                                      (info.lfUnderline ? 4 : 0) | (info.lfStrikeOut ? 8 : 0));
  record.Charset = info.lfCharSet;
  return record;
}

TFontRecord DefaultFontRecord() {
  return FontRecordOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

TFontRecord BoldFont(TFontRecord font) {
  font.Style |= 1;
  return font;
}

UniqueBitmap LoadBitmapFile(const std::string& path) {
  return UniqueBitmap(
      static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
}

bool SaveBitmapFile(HBITMAP bitmap, const std::string& path) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cx <= 0 || size.cy <= 0)
    return false;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = size.cx;
  info.biHeight = size.cy;  // bottom-up, as bitmap files store rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  const size_t row = (static_cast<size_t>(size.cx) * 3 + 3) & ~size_t{3};
  std::vector<char> pixels(row * static_cast<size_t>(size.cy));
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), pixels.data(),
                             reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != size.cy)
    return false;
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

void DrawBitmap(HDC dc, HBITMAP bitmap) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cx == 0)
    return;
  MemoryDc memory(dc);
  SelectedObject selected(memory.Get(), bitmap);
  BitBlt(dc, 0, 0, size.cx, size.cy, memory.Get(), 0, 0, SRCCOPY);
}

void DrawTransparentBitmap(HDC dc,
                           const RECT& dest,
                           HBITMAP bitmap,
                           const RECT& source,
                           COLORREF transparent) {
  const int sw = source.right - source.left;
  const int sh = source.bottom - source.top;
  const int dw = dest.right - dest.left;
  const int dh = dest.bottom - dest.top;
  if (!bitmap || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
    return;
  MemoryDc picture(dc);
  SelectedObject selected_picture(picture.Get(), bitmap);
  // The mask has a 1 for every transparent pixel.
  UniqueBitmap mask(CreateBitmap(sw, sh, 1, 1, nullptr));
  MemoryDc mask_dc(dc);
  SelectedObject selected_mask(mask_dc.Get(), mask.Get());
  SetBkColor(picture.Get(), transparent);
  BitBlt(mask_dc.Get(), 0, 0, sw, sh, picture.Get(), source.left, source.top, SRCCOPY);
  // ((dest ^ picture) & mask) ^ picture: the destination where the mask is set, the
  // picture elsewhere. The mask expands to white (1) and black (0).
  const COLORREF old_back = SetBkColor(dc, RGB(255, 255, 255));
  const COLORREF old_text = SetTextColor(dc, RGB(0, 0, 0));
  const int old_mode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, dest.left, dest.top, dw, dh, picture.Get(), source.left, source.top, sw, sh,
             SRCINVERT);
  StretchBlt(dc, dest.left, dest.top, dw, dh, mask_dc.Get(), 0, 0, sw, sh, SRCAND);
  StretchBlt(dc, dest.left, dest.top, dw, dh, picture.Get(), source.left, source.top, sw, sh,
             SRCINVERT);
  SetStretchBltMode(dc, old_mode);
  SetTextColor(dc, old_text);
  SetBkColor(dc, old_back);
}

COLORREF BottomLeftColor(HBITMAP bitmap) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cy == 0)
    return 0;
  MemoryDc memory(nullptr);
  SelectedObject selected(memory.Get(), bitmap);
  return GetPixel(memory.Get(), 0, size.cy - 1);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info))
    return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

SIZE TextExtent(HDC dc, const std::string& text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

void DrawControlText(HDC dc,
                     const std::string& text,
                     const RECT& area,
                     UINT format,
                     bool enabled,
                     COLORREF color) {
  SetBkMode(dc, TRANSPARENT);
  RECT target = area;
  if (!enabled) {
    RECT shifted = area;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, text.c_str(), -1, &shifted, format);
    color = GetSysColor(COLOR_BTNSHADOW);
  }
  SetTextColor(dc, color);
  DrawTextA(dc, text.c_str(), -1, &target, format);
}

void PaintParentBackground(HWND child, HDC dc) {
  HWND parent = GetParent(child);
  if (!parent)
    return;
  RECT client;
  GetClientRect(child, &client);
  POINT origin = {0, 0};
  MapWindowPoints(child, parent, &origin, 1);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  POINT previous;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
  SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  // The controls made on the parent before this one lie under it (a header shape under a
  // transparent caption): they show through as well.
  if (const TWindow* owner = TWindow::FromHandle(parent)) {
    const RECT area = {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    for (size_t i = 0; i < owner->ControlCount(); ++i) {
      HWND sibling = owner->Control(i)->Handle();
      if (sibling == child)
        break;
      if (!sibling || !IsWindowVisible(sibling))
        continue;
      RECT bounds;
      GetWindowRect(sibling, &bounds);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
      RECT overlap;
      if (!IntersectRect(&overlap, &bounds, &area))
        continue;
      POINT sibling_origin = {0, 0};
      MapWindowPoints(sibling, parent, &sibling_origin, 1);
      SetViewportOrgEx(dc, previous.x - origin.x + sibling_origin.x,
                       previous.y - origin.y + sibling_origin.y, nullptr);
      SendMessageA(sibling, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    }
  }
  RestoreDC(dc, saved);
}

}  // namespace kvb
