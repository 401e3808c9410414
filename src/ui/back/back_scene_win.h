// What the background window draws, on any device context: the package's background
// (plain colour, 64-band gradient through its palette, or picture) and the background
// items (texts with their shadows, pictures, transparent or not).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "setupdata/records.h"
#include "ui/back/back_layout.h"
#include "ui/back/slide_in.h"
#include "ui/base/gdi_object_win.h"

namespace kvb {

// The palette of the gradient's 64 colours.
UniquePalette CreateGradientPalette(const GradientColors& colors);

// Paints the background on a canvas of `width` x `height`. `picture_path` is the
// background picture's file: when it exists and loads, it is drawn as `placement` says
// (and re-read on every paint, so a replaced file shows at once); under a centred picture,
// or when there is none, the colours are painted: 64 bands of the gradient (selected
// through `palette`, each colour palette-relative) when the two colours differ, else a
// fill with the first.
void PaintBackdrop(HDC dc,
                   int width,
                   int height,
                   const TSetupProperties& properties,
                   HPALETTE palette,
                   const std::string& picture_path);

// One background item ready to draw: its text after expansion, its font or picture, and
// its size in the layout.
struct PreparedBackItem {
  const TSetupBackItem* Record = nullptr;
  std::string Text;       // text items: the expanded caption
  UniqueFont Font;        // text items
  UniqueBitmap Picture;   // picture items; null when the file is missing (item skipped)
  int Width = 0;
  int Height = 0;
  int DotWidth = 0;       // text items: the width of "."
  int Shadow = 0;         // text items with a shadow: its offset right and down
  bool Skipped() const { return Record->Kind != 0 && !Picture; }
  BackItemBox Box() const;
  // The size of the bitmap that carries the item while it slides in.
  SlideMeasure SlideSize() const;
};

// Measures every item on `dc`: texts (`captions`, already expanded, one per item) in
// their fonts, pictures loaded from `folder` (with a trailing backslash).
std::vector<PreparedBackItem> PrepareBackItems(HDC dc,
                                               const std::vector<TSetupBackItem>& items,
                                               const std::vector<std::string>& captions,
                                               const std::string& folder);

// Draws the item with its top-left corner at (x, y): a text transparently, its shadow
// first; a picture without the pixels of its transparent colour when it is transparent.
void DrawBackItem(HDC dc, const PreparedBackItem& item, int x, int y);

}  // namespace kvb
