// The geometry and colours of the background window, kept apart from Win32 so that they
// are tested on the host: the window's bounds by the package's size setting, the 64
// gradient colours and their bands, where the background picture goes, and where the
// background items stand in their corners.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kvb {

// A rectangle in client (or screen) pixels, right and bottom exclusive.
struct BackRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const BackRect&) const = default;
};

struct BackPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const BackPoint&) const = default;
};

// The window's size setting (BackFlag).
enum BackWindowSize : uint8_t {
  kBackMaximised = 0,
  kBackFullScreen = 1,
  kBackCentred = 2,
};

// Where the window goes on a screen of `screen_width` x `screen_height`.
struct BackWindowBounds {
  BackRect Bounds;        // the window's outer rectangle (its client area when Borderless)
  bool Borderless = false;
  bool Maximised = false;  // shown maximised over Bounds
};

// Full screen: borderless at (0, 0) in the screen's size. Any other setting: seven eighths
// of the screen in each direction (size − size / 8), centred, and maximised for setting 0.
BackWindowBounds BackWindowPlacement(uint8_t back_flag, int screen_width, int screen_height);

inline constexpr int kGradientColorCount = 64;

// Colour values 0x00BBGGRR (system colours already resolved).
using GradientColors = std::array<uint32_t, kGradientColorCount>;

// Colour i runs from `color1` (i = 0) to `color2` (i = 63): each of red, green and blue is
// c1 + (c2 − c1) × i / 63, the division truncating towards zero.
GradientColors GradientColorsOf(uint32_t color1, uint32_t color2);

// Band i of 64 along an extent (the height for a gradient top to bottom, else the width):
// from extent × i / 63 to extent × (i + 1) / 63, each bound rounded to the nearest pixel.
// The last band reaches past the extent; drawing clips it.
struct BackSpan {
  int From = 0;
  int To = 0;
  bool operator==(const BackSpan&) const = default;
};
BackSpan GradientBand(int index, int extent);

// The background picture's placement (BackPlacement).
enum BackPicturePlacement : uint8_t {
  kBackStretch = 0,
  kBackTile = 1,
  kBackCentre = 2,
};

// The rectangles a picture of `picture_width` x `picture_height` is drawn into on a
// client area of `width` x `height`: stretched over the whole area (0, and any value
// other than 1 and 2); tiled from (0, 0) in width / w + 1 columns and height / h + 1 rows
// (1); or once at (width / 2 − w / 2, height / 2 − h / 2) (2). None for an empty picture.
std::vector<BackRect> PicturePlacement(uint8_t placement,
                                       int width,
                                       int height,
                                       int picture_width,
                                       int picture_height);

// The screen corner of a background item (Flag1).
enum BackCorner : uint8_t {
  kTopLeft = 0,
  kBottomLeft = 1,
  kTopRight = 2,
  kBottomRight = 3,
};

// One item as the layout sees it.
struct BackItemBox {
  uint8_t Corner = kTopLeft;  // values above 3 count as top-left
  int Width = 0;
  int Height = 0;
  bool Picture = false;  // pictures in right-hand corners stand 4 pixels further right
};

// Where each item is drawn, in package order, on a client area of `width` x `height`:
// four cursors start at (8, 4), (8, height − 4), (width − 8, 4) and (width − 8, height − 4);
// an item in a top corner moves its cursor down by 4, is drawn there and moves it down by
// its height; one in a bottom corner moves it up by its height + 4 and is drawn there; in
// right-hand corners x is width − item width − 12.
std::vector<BackPoint> LayoutBackItems(const std::vector<BackItemBox>& items, int width, int height);

// How far a text's shadow is drawn right and down: half the width of "." in its font,
// rounded (halves up).
int ShadowOffset(int dot_width);

}  // namespace kvb
