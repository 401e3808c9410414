#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "ui/back/back_layout.h"
#include "ui/back/slide_in.h"

namespace kvb {
namespace {

TEST(BackWindowPlacementTest, SizeBySetting) {
  const BackWindowBounds full = BackWindowPlacement(kBackFullScreen, 1024, 768);
  EXPECT_EQ(full.Bounds, (BackRect{0, 0, 1024, 768}));
  EXPECT_TRUE(full.Borderless);
  EXPECT_FALSE(full.Maximised);

  const BackWindowBounds centred = BackWindowPlacement(kBackCentred, 1024, 768);
  EXPECT_EQ(centred.Bounds, (BackRect{64, 48, 64 + 896, 48 + 672}));
  EXPECT_FALSE(centred.Borderless);
  EXPECT_FALSE(centred.Maximised);

  const BackWindowBounds maximised = BackWindowPlacement(kBackMaximised, 1024, 768);
  EXPECT_EQ(maximised.Bounds, centred.Bounds);
  EXPECT_TRUE(maximised.Maximised);

  // Odd sizes: the eighth and the halves are integer divisions.
  EXPECT_EQ(BackWindowPlacement(kBackCentred, 1023, 767).Bounds, (BackRect{63, 47, 959, 719}));
}

TEST(GradientTest, BlueToBlackColours) {
  const GradientColors colors = GradientColorsOf(16711680, 0);
  EXPECT_EQ(colors[0], 0xFF0000u);
  // 255 − 255 × i / 63, the quotient truncated towards zero.
  EXPECT_EQ(colors[1], 0xFB0000u);
  EXPECT_EQ(colors[32], 0x7E0000u);
  EXPECT_EQ(colors[62], 0x050000u);
  EXPECT_EQ(colors[63], 0u);
  for (int i = 0; i < kGradientColorCount; ++i)
    EXPECT_EQ(colors[static_cast<size_t>(i)], static_cast<uint32_t>(255 - 255 * i / 63) << 16);
}

TEST(GradientTest, ChannelsRunIndependentlyBothWays) {
  const GradientColors colors = GradientColorsOf(0x000A14FF, 0x00F01400);
  EXPECT_EQ(colors[0], 0x000A14FFu);
  EXPECT_EQ(colors[63], 0x00F01400u);
  // Red falls, green stays, blue rises.
  EXPECT_EQ(colors[21], (10u + 230 * 21 / 63) << 16 | 0x14u << 8 | (255u - 255 * 21 / 63));
  const GradientColors flat = GradientColorsOf(0x00123456, 0x00123456);
  for (uint32_t c : flat)
    EXPECT_EQ(c, 0x00123456u);
}

TEST(GradientTest, BandsTileTheExtent) {
  EXPECT_EQ(GradientBand(0, 630), (BackSpan{0, 10}));
  EXPECT_EQ(GradientBand(62, 630), (BackSpan{620, 630}));
  // Rounded, not truncated: 100 × 1 / 63 = 1.59.
  EXPECT_EQ(GradientBand(0, 100), (BackSpan{0, 2}));
  for (int extent : {1, 63, 100, 600, 768, 1200}) {
    for (int i = 0; i + 1 < kGradientColorCount; ++i)
      EXPECT_EQ(GradientBand(i, extent).To, GradientBand(i + 1, extent).From);
    EXPECT_GE(GradientBand(62, extent).To, extent);
  }
}

TEST(PicturePlacementTest, StretchTileCentre) {
  EXPECT_EQ(PicturePlacement(kBackStretch, 800, 600, 10, 10),
            (std::vector<BackRect>{{0, 0, 800, 600}}));
  const std::vector<BackRect> tiles = PicturePlacement(kBackTile, 250, 130, 100, 60);
  ASSERT_EQ(tiles.size(), 9u);  // 250 / 100 + 1 columns, 130 / 60 + 1 rows
  EXPECT_EQ(tiles.front(), (BackRect{0, 0, 100, 60}));
  EXPECT_EQ(tiles[1], (BackRect{100, 0, 200, 60}));
  EXPECT_EQ(tiles.back(), (BackRect{200, 120, 300, 180}));
  EXPECT_EQ(PicturePlacement(kBackCentre, 801, 601, 100, 51),
            (std::vector<BackRect>{{350, 275, 450, 326}}));
  // Larger than the window: centred at negative coordinates.
  EXPECT_EQ(PicturePlacement(kBackCentre, 100, 100, 300, 200).front().Left, -100);
  EXPECT_TRUE(PicturePlacement(kBackTile, 800, 600, 0, 10).empty());
  EXPECT_TRUE(PicturePlacement(kBackCentre, 800, 600, 10, 0).empty());
}

TEST(BackItemLayoutTest, FourCornersInPackageOrder) {
  const std::vector<BackItemBox> items = {
      {kTopLeft, 100, 20, false},     {kBottomLeft, 80, 30, false},
      {kTopRight, 40, 40, true},      {kTopLeft, 50, 10, false},
      {kBottomRight, 32, 32, true},   {kTopRight, 60, 12, false},
      {kBottomRight, 70, 14, false},  {kBottomLeft, 20, 20, true},
      {7, 30, 5, false},  // an unknown corner counts as top-left
  };
  const std::vector<BackPoint> expected = {
      {8, 8},     {8, 562},  {752, 8},   {8, 32},  {760, 560},
      {728, 52},  {718, 542}, {8, 538},  {8, 46},
  };
  EXPECT_EQ(LayoutBackItems(items, 800, 600), expected);
}

TEST(BackItemLayoutTest, ShadowOffsetIsHalfTheDotRounded) {
  EXPECT_EQ(ShadowOffset(0), 0);
  EXPECT_EQ(ShadowOffset(1), 1);
  EXPECT_EQ(ShadowOffset(6), 3);
  EXPECT_EQ(ShadowOffset(7), 4);
}

TEST(SlideInTest, StartsOffTheWindowOnItsSide) {
  const BackPoint target = {700, 500};
  const SlideMeasure size = {64, 20};
  const std::pair<uint8_t, BackPoint> cases[] = {
      {kSlideFromLeft, {-64, 500}},       {kSlideFromRight, {800, 500}},
      {kSlideFromTop, {700, -20}},        {kSlideFromBottom, {700, 600}},
      {kSlideFromTopLeft, {-64, -20}},    {kSlideFromBottomLeft, {-64, 600}},
      {kSlideFromTopRight, {800, -20}},   {kSlideFromBottomRight, {800, 600}},
      {kSlideNone, target},               {9, target},
  };
  for (const auto& [direction, start] : cases) {
    SCOPED_TRACE(direction);
    EXPECT_EQ(SlideStart(direction, target, size, 800, 600), start);
  }
}

TEST(SlideInTest, StepsEndExactlyOnTheTarget) {
  // 208 pixels: 21 steps of 9, the first position 189 left of the target.
  const std::vector<BackPoint> path = SlidePath({-200, 8}, {8, 8});
  ASSERT_EQ(path.size(), 22u);
  EXPECT_EQ(path.front(), (BackPoint{8 - 189, 8}));
  EXPECT_EQ(path.back(), (BackPoint{8, 8}));
  for (size_t k = 1; k < path.size(); ++k)
    EXPECT_EQ(path[k].X - path[k - 1].X, 9);

  // Diagonal with unequal distances: n from the longer one.
  const std::vector<BackPoint> diagonal = SlidePath({800, 600}, {700, 545});
  ASSERT_EQ(diagonal.size(), 12u);  // n = 100 / 10 + 1 = 11
  EXPECT_EQ(diagonal.front(), (BackPoint{700 + 11 * 9, 545 + 11 * 5}));
  EXPECT_EQ(diagonal.back(), (BackPoint{700, 545}));

  const std::vector<BackPoint> still = SlidePath({5, 5}, {5, 5});
  EXPECT_EQ(still, (std::vector<BackPoint>{{5, 5}, {5, 5}}));
}

TEST(SlideInTest, StripsRestoreExactlyWhatTheNewPlaceLeavesUncovered) {
  const std::pair<BackRect, BackRect> cases[] = {
      {{0, 0, 10, 10}, {3, 2, 13, 12}},     // down and right
      {{10, 10, 20, 20}, {1, 15, 11, 25}},  // down and left
      {{0, 0, 10, 10}, {0, -4, 10, 6}},     // straight up
      {{0, 0, 10, 10}, {2, 2, 8, 8}},       // inside: a frame of four strips
      {{0, 0, 10, 10}, {0, 0, 10, 10}},     // no move
      {{0, 0, 10, 10}, {30, 0, 40, 10}},    // no overlap: all of it
  };
  for (const auto& [previous, next] : cases) {
    SCOPED_TRACE(previous.Left * 100 + next.Left);
    std::set<std::pair<int, int>> restored;
    for (const BackRect& strip : UncoveredStrips(previous, next)) {
      for (int y = strip.Top; y < strip.Bottom; ++y) {
        for (int x = strip.Left; x < strip.Right; ++x)
          EXPECT_TRUE(restored.insert({x, y}).second) << "painted twice: " << x << "," << y;
      }
    }
    for (int y = previous.Top; y < previous.Bottom; ++y) {
      for (int x = previous.Left; x < previous.Right; ++x) {
        const bool covered = x >= next.Left && x < next.Right && y >= next.Top && y < next.Bottom;
        EXPECT_EQ(restored.count({x, y}) == 1, !covered) << x << "," << y;
        restored.erase({x, y});
      }
    }
    EXPECT_TRUE(restored.empty()) << "restored outside the previous place";
  }
}

TEST(SlideInTest, CarrierSizes) {
  const SlideMeasure text = SlideTextMeasure(6, 120, 25, 3);
  EXPECT_EQ(text.Width, 6 + 120 + 3 + 4);
  EXPECT_EQ(text.Height, 25 + 3);
  const SlideMeasure picture = SlidePictureMeasure(32, 16);
  EXPECT_EQ(picture.Width, 36);
  EXPECT_EQ(picture.Height, 16);
}

}  // namespace
}  // namespace kvb
