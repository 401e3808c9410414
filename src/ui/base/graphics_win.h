// Fonts, colours and pictures of the package's records on Win32, and the painting of a
// parent's background under a child that draws only part of its area.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "setupdata/records.h"
#include "ui/base/gdi_object_win.h"

namespace kvb {

// Colour values as the package stores them: 0x00BBGGRR, or 0x80000000 + a system colour
// index (COLOR_...).
constexpr uint32_t SystemColor(int index) {
  return 0x80000000u | static_cast<uint32_t>(index);
}
constexpr uint32_t kClWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr uint32_t kClBtnFace = SystemColor(COLOR_BTNFACE);
constexpr uint32_t kClWindow = SystemColor(COLOR_WINDOW);
constexpr uint32_t kClBtnText = SystemColor(COLOR_BTNTEXT);

// The Windows colour of a font record's colour: 0x00BBGGRR as is, 0x80000000 + index as
// that system colour.
COLORREF ColorOf(uint32_t color);

// A font of the record's face (the system's default face when it is empty), size in
// points, style (bold, italic, underline, strike-out) and character set.
UniqueFont CreateRecordFont(const TFontRecord& font);

// The record describing an existing font (face, size in points, style, character set);
// the colour is `color`, since fonts carry none.
TFontRecord FontRecordOf(HFONT font, uint32_t color = kClWindowText);

// The font record of the system's dialog font (DEFAULT_GUI_FONT), window-text coloured.
TFontRecord DefaultFontRecord();

// The same font in bold.
TFontRecord BoldFont(TFontRecord font);

// The picture of the bitmap file `path`; empty when the file is missing or holds no
// bitmap.
UniqueBitmap LoadBitmapFile(const std::string& path);

// Writes `bitmap` as a 24-bit bitmap file; false when it could not be read or written.
bool SaveBitmapFile(HBITMAP bitmap, const std::string& path);

// Paints `bitmap` at the top-left corner of the device context.
void DrawBitmap(HDC dc, HBITMAP bitmap);

// Draws the `source` part of `bitmap` into `dest` (stretched when the sizes differ),
// leaving out every pixel of the colour `transparent`.
void DrawTransparentBitmap(HDC dc,
                           const RECT& dest,
                           HBITMAP bitmap,
                           const RECT& source,
                           COLORREF transparent);

// The colour of a bitmap's bottom-left pixel: the transparent colour of pictures.
COLORREF BottomLeftColor(HBITMAP bitmap);

// Size of a bitmap; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);

// Width and height of `text` in the font selected into `dc` (single line).
SIZE TextExtent(HDC dc, const std::string& text);

// Draws `text` into `area` with DrawText's `format` in `color`; when not `enabled`, grey
// and embossed instead: a highlight copy one pixel down and right under shadow-coloured
// text. The background mode is left transparent.
void DrawControlText(HDC dc,
                     const std::string& text,
                     const RECT& area,
                     UINT format,
                     bool enabled,
                     COLORREF color);

// Lets the parent of `child` paint the part of its client area that lies under `child`
// into `dc`, whose origin is `child`'s client origin: the parent receives WM_ERASEBKGND
// and WM_PRINTCLIENT with the origin moved, clipped to the child's client rectangle, and
// so do the visible controls made on the parent before `child` that it overlaps.
// Used by controls that draw over their parent's background.
void PaintParentBackground(HWND child, HDC dc);

}  // namespace kvb
