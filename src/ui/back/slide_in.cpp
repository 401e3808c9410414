#include "ui/back/slide_in.h"

#include <algorithm>
#include <cstdlib>

namespace kvb {

SlideMeasure SlideTextMeasure(int dot_width, int text_width, int text_height, int shadow_offset) {
  return {dot_width + text_width + shadow_offset + 4, text_height + shadow_offset};
}

SlideMeasure SlidePictureMeasure(int picture_width, int picture_height) {
  return {picture_width + 4, picture_height};
}

BackPoint SlideStart(uint8_t direction,
                     BackPoint target,
                     SlideMeasure measure,
                     int width,
                     int height) {
  BackPoint start = target;
  switch (direction) {
    case kSlideFromLeft:
    case kSlideFromTopLeft:
    case kSlideFromBottomLeft:
      start.X = -measure.Width;
      break;
    case kSlideFromRight:
    case kSlideFromTopRight:
    case kSlideFromBottomRight:
      start.X = width;
      break;
  }
  switch (direction) {
    case kSlideFromTop:
    case kSlideFromTopLeft:
    case kSlideFromTopRight:
      start.Y = -measure.Height;
      break;
    case kSlideFromBottom:
    case kSlideFromBottomLeft:
    case kSlideFromBottomRight:
      start.Y = height;
      break;
  }
  return start;
}

std::vector<BackPoint> SlidePath(BackPoint start, BackPoint target) {
  const int dx = target.X - start.X;
  const int dy = target.Y - start.Y;
  const int n = std::max(std::abs(dx), std::abs(dy)) / 10 + 1;
  const int step_x = dx / n;
  const int step_y = dy / n;
  std::vector<BackPoint> path;
  path.reserve(static_cast<size_t>(n) + 1);
  for (int k = 0; k <= n; ++k)
    path.push_back({target.X - (n - k) * step_x, target.Y - (n - k) * step_y});
  return path;
}

std::vector<BackRect> UncoveredStrips(const BackRect& previous, const BackRect& next) {
  const int left = std::max(previous.Left, next.Left);
  const int right = std::min(previous.Right, next.Right);
  const int top = std::max(previous.Top, next.Top);
  const int bottom = std::min(previous.Bottom, next.Bottom);
  if (left >= right || top >= bottom)
    return previous.Width() > 0 && previous.Height() > 0 ? std::vector<BackRect>{previous}
                                                         : std::vector<BackRect>{};
  // Full-width strips above and below the overlap, then the sides beside it.
  std::vector<BackRect> strips;
  if (previous.Top < top)
    strips.push_back({previous.Left, previous.Top, previous.Right, top});
  if (bottom < previous.Bottom)
    strips.push_back({previous.Left, bottom, previous.Right, previous.Bottom});
  if (previous.Left < left)
    strips.push_back({previous.Left, top, left, bottom});
  if (right < previous.Right)
    strips.push_back({right, top, previous.Right, bottom});
  return strips;
}

}  // namespace kvb
