// The slide-in of the background items: where an item starts off the window, the steps
// it moves in, and the strips of its previous place that must be restored at each step.
// Portable, so that the step rule is tested on the host.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/back/back_layout.h"

namespace kvb {

// The direction an item slides in from (Flag2).
enum SlideDirection : uint8_t {
  kSlideNone = 0,
  kSlideFromLeft = 1,
  kSlideFromRight = 2,
  kSlideFromTop = 3,
  kSlideFromBottom = 4,
  kSlideFromTopLeft = 5,
  kSlideFromBottomLeft = 6,
  kSlideFromTopRight = 7,
  kSlideFromBottomRight = 8,
};

// The size of the bitmap that carries a sliding item: the item's measured width + 4 by
// its measured height. A text is measured as the width of "." plus the width of its
// caption by the caption's height, each plus the shadow offset when it has a shadow; a
// picture by its bitmap's width and height.
struct SlideMeasure {
  int Width = 0;
  int Height = 0;
};
SlideMeasure SlideTextMeasure(int dot_width, int text_width, int text_height, int shadow_offset);
SlideMeasure SlidePictureMeasure(int picture_width, int picture_height);

// Where an item of bitmap size `measure` starts when it slides from `direction` towards
// `target` on a client area of `width` x `height`: left of the window (x = −bitmap width)
// for 1, 5, 6; right of it (x = width) for 2, 7, 8; above it (y = −height) for 3, 5, 7;
// below it (y = height) for 4, 6, 8; the target's coordinate otherwise.
BackPoint SlideStart(uint8_t direction,
                     BackPoint target,
                     SlideMeasure measure,
                     int width,
                     int height);

// The positions of a slide from `start` to `target`: with dx, dy the distances, it takes
// n = max(|dx|, |dy|) / 10 + 1 steps of dx / n and dy / n (integer divisions); at step
// k = 0 .. n it stands at target − (n − k) steps, so the last position is the target.
std::vector<BackPoint> SlidePath(BackPoint start, BackPoint target);

// The parts of `previous` that `next` does not cover: at most four strips.
std::vector<BackRect> UncoveredStrips(const BackRect& previous, const BackRect& next);

}  // namespace kvb
