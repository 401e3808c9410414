#include "ui/back/back_layout.h"

#include <cstdlib>

namespace kvb {

namespace {

constexpr int kLastColor = kGradientColorCount - 1;

int Channel(uint32_t color, int shift) {
  return static_cast<int>((color >> shift) & 0xFF);
}

// a × b / c rounded to the nearest integer, halves away from zero, without overflow for
// screen-sized values.
int MulDivRounded(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

BackWindowBounds BackWindowPlacement(uint8_t back_flag, int screen_width, int screen_height) {
  BackWindowBounds result;
  if (back_flag == kBackFullScreen) {
    result.Bounds = {0, 0, screen_width, screen_height};
    result.Borderless = true;
    return result;
  }
  const int width = screen_width - screen_width / 8;
  const int height = screen_height - screen_height / 8;
  const int left = (screen_width - width) / 2;
  const int top = (screen_height - height) / 2;
  result.Bounds = {left, top, left + width, top + height};
  result.Maximised = back_flag == kBackMaximised;
  return result;
}

GradientColors GradientColorsOf(uint32_t color1, uint32_t color2) {
  GradientColors colors{};
  for (int i = 0; i < kGradientColorCount; ++i) {
    uint32_t color = 0;
    for (int shift : {0, 8, 16}) {
      const int c1 = Channel(color1, shift);
      const int c2 = Channel(color2, shift);
      const int value = c1 + (c2 - c1) * i / kLastColor;
      color |= static_cast<uint32_t>(value) << shift;
    }
    colors[static_cast<size_t>(i)] = color;
  }
  return colors;
}

BackSpan GradientBand(int index, int extent) {
  return {MulDivRounded(extent, index, kLastColor), MulDivRounded(extent, index + 1, kLastColor)};
}

std::vector<BackRect> PicturePlacement(uint8_t placement,
                                       int width,
                                       int height,
                                       int picture_width,
                                       int picture_height) {
  if (picture_width <= 0 || picture_height <= 0)
    return {};
  if (placement == kBackCentre) {
    const int left = width / 2 - picture_width / 2;
    const int top = height / 2 - picture_height / 2;
    return {{left, top, left + picture_width, top + picture_height}};
  }
  if (placement != kBackTile)
    return {{0, 0, width, height}};
  std::vector<BackRect> tiles;
  const int columns = width / picture_width + 1;
  const int rows = height / picture_height + 1;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      const int left = column * picture_width;
      const int top = row * picture_height;
      tiles.push_back({left, top, left + picture_width, top + picture_height});
    }
  }
  return tiles;
}

std::vector<BackPoint> LayoutBackItems(const std::vector<BackItemBox>& items,
                                       int width,
                                       int height) {
  // Cursors of the corners, indexed by BackCorner.
  BackPoint cursors[4] = {{8, 4}, {8, height - 4}, {width - 8, 4}, {width - 8, height - 4}};
  std::vector<BackPoint> positions;
  positions.reserve(items.size());
  for (const BackItemBox& item : items) {
    const uint8_t corner = item.Corner <= kBottomRight ? item.Corner : uint8_t{kTopLeft};
    BackPoint& cursor = cursors[corner];
    const bool right = corner == kTopRight || corner == kBottomRight;
    const bool top = corner == kTopLeft || corner == kTopRight;
    if (right)
      cursor.X = width - item.Width - 12;
    if (top)
      cursor.Y += 4;
    else
      cursor.Y -= item.Height + 4;
    positions.push_back({cursor.X + (right && item.Picture ? 4 : 0), cursor.Y});
    if (top)
      cursor.Y += item.Height;
  }
  return positions;
}

int ShadowOffset(int dot_width) {
  return (std::abs(dot_width) + 1) / 2;
}

}  // namespace kvb
