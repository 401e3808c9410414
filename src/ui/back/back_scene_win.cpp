#include "ui/back/back_scene_win.h"

#include <cstdlib>

#include "ui/base/graphics_win.h"

namespace kvb {

namespace {

// Items are single lines; an ampersand escape ("&&") shows one "&", and no letter is
// underlined.
constexpr UINT kItemTextFormat = DT_SINGLELINE | DT_NOCLIP | DT_HIDEPREFIX;

void FillColor(HDC dc, const RECT& area, COLORREF color) {
  UniqueBrush brush(CreateSolidBrush(color));
  FillRect(dc, &area, brush.Get());
}

void PaintColors(HDC dc, int width, int height, const TSetupProperties& p, HPALETTE palette) {
  if (p.BackColor1 == p.BackColor2) {
    FillColor(dc, {0, 0, width, height}, ColorOf(p.BackColor1));
    return;
  }
  const GradientColors colors = GradientColorsOf(ColorOf(p.BackColor1), ColorOf(p.BackColor2));
  HPALETTE previous = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
  if (palette)
    RealizePalette(dc);
  const bool top_to_bottom = p.BackGradient != 0;
  for (int i = 0; i < kGradientColorCount; ++i) {
    const BackSpan band = GradientBand(i, top_to_bottom ? height : width);
    const RECT area = top_to_bottom ? RECT{0, band.From, width, band.To}
                                    : RECT{band.From, 0, band.To, height};
    const uint32_t c = colors[static_cast<size_t>(i)];
    FillColor(dc, area, PALETTERGB(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
  }
  if (previous)
    SelectPalette(dc, previous, FALSE);
}

void PaintPicture(HDC dc, int width, int height, uint8_t placement, HBITMAP picture) {
  const SIZE size = BitmapSize(picture);
  MemoryDc memory(dc);
  SelectedObject selected(memory.Get(), picture);
  const int old_mode = SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  for (const BackRect& r : PicturePlacement(placement, width, height, size.cx, size.cy)) {
    StretchBlt(dc, r.Left, r.Top, r.Width(), r.Height(), memory.Get(), 0, 0, size.cx, size.cy,
               SRCCOPY);
  }
  SetStretchBltMode(dc, old_mode);
}

}  // namespace

UniquePalette CreateGradientPalette(const GradientColors& colors) {
  struct {
    LOGPALETTE header;
    PALETTEENTRY more[kGradientColorCount - 1];
  } palette{};
  palette.header.palVersion = 0x300;
  palette.header.palNumEntries = kGradientColorCount;
  PALETTEENTRY* entries = palette.header.palPalEntry;
  for (int i = 0; i < kGradientColorCount; ++i) {
    const uint32_t c = colors[static_cast<size_t>(i)];
    entries[i] = {static_cast<BYTE>(c & 0xFF), static_cast<BYTE>((c >> 8) & 0xFF),
                  static_cast<BYTE>((c >> 16) & 0xFF), 0};
  }
  return UniquePalette(CreatePalette(&palette.header));
}

void PaintBackdrop(HDC dc,
                   int width,
                   int height,
                   const TSetupProperties& properties,
                   HPALETTE palette,
                   const std::string& picture_path) {
  const UniqueBitmap picture = LoadBitmapFile(picture_path);
  // A picture that is missing or cannot be read leaves the colours showing.
  if (!picture || properties.BackPlacement == kBackCentre)
    PaintColors(dc, width, height, properties, palette);
  if (picture)
    PaintPicture(dc, width, height, properties.BackPlacement, picture.Get());
}

BackItemBox PreparedBackItem::Box() const {
  return {Record->Flag1, Width, Height, Record->Kind != 0};
}

SlideMeasure PreparedBackItem::SlideSize() const {
  if (Record->Kind != 0)
    return SlidePictureMeasure(Width, Height);
  return SlideTextMeasure(DotWidth, Width, Height, Shadow);
}

std::vector<PreparedBackItem> PrepareBackItems(HDC dc,
                                               const std::vector<TSetupBackItem>& items,
                                               const std::vector<std::string>& captions,
                                               const std::string& folder) {
  std::vector<PreparedBackItem> prepared(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    PreparedBackItem& p = prepared[i];
    p.Record = &items[i];
    if (items[i].Kind != 0) {
      p.Picture = LoadBitmapFile(folder + items[i].PictureFile);
      const SIZE size = BitmapSize(p.Picture.Get());
      p.Width = size.cx;
      p.Height = std::abs(size.cy);
      continue;
    }
    p.Text = i < captions.size() ? captions[i] : items[i].Caption;
    p.Font = CreateRecordFont(items[i].Font);
    SelectedObject font(dc, p.Font.Get());
    RECT extent = {0, 0, 0, 0};
    DrawTextA(dc, p.Text.c_str(), static_cast<int>(p.Text.size()), &extent,
              kItemTextFormat | DT_CALCRECT);
    p.Width = extent.right;
    p.Height = extent.bottom;
    p.DotWidth = TextExtent(dc, ".").cx;
    if (items[i].TextFlag)
      p.Shadow = ShadowOffset(p.DotWidth);
  }
  return prepared;
}

void DrawBackItem(HDC dc, const PreparedBackItem& item, int x, int y) {
  const TSetupBackItem& record = *item.Record;
  if (record.Kind != 0) {
    if (!item.Picture)
      return;
    const RECT dest = {x, y, x + item.Width, y + item.Height};
    const RECT source = {0, 0, item.Width, item.Height};
    if (record.PictureFlag) {
      DrawTransparentBitmap(dc, dest, item.Picture.Get(), source, ColorOf(record.PictureValue));
      return;
    }
    MemoryDc memory(dc);
    SelectedObject selected(memory.Get(), item.Picture.Get());
    BitBlt(dc, x, y, item.Width, item.Height, memory.Get(), 0, 0, SRCCOPY);
    return;
  }
  SelectedObject font(dc, item.Font.Get());
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old_color = GetTextColor(dc);
  const int length = static_cast<int>(item.Text.size());
  if (record.TextFlag) {
    RECT shadow = {x + item.Shadow, y + item.Shadow, x + item.Shadow + item.Width,
                   y + item.Shadow + item.Height};
    SetTextColor(dc, ColorOf(record.TextValue));
    DrawTextA(dc, item.Text.c_str(), length, &shadow, kItemTextFormat);
  }
  RECT text = {x, y, x + item.Width, y + item.Height};
  SetTextColor(dc, ColorOf(record.Font.Color));
  DrawTextA(dc, item.Text.c_str(), length, &text, kItemTextFormat);
  SetTextColor(dc, old_color);
  SetBkMode(dc, old_mode);
}

}  // namespace kvb
