// Where the windows of an installation stand on the screen, and what the download progress
// shows: free of windows, so that the rules are tested on the host.
#pragma once

#include <cstdint>

#include "install/install_host.h"
#include "net/http_transport.h"

namespace kvb {

struct ScreenPoint {
  int Left = 0;
  int Top = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// The space kept between the screen's lower edge and a progress window while billboard
// pictures are shown above it, and between such a window and the picture.
inline constexpr int kProgressBottomMargin = 48;
inline constexpr int kBillboardGap = 32;

// The progress window (the wizard form on its "INSTALL" page, or the copying window) of
// `width` x `height`: centred horizontally; with billboards its lower edge 48 pixels
// above the screen's, else centred vertically. Halves are rounded towards zero.
ScreenPoint ProgressWindowPlace(int screen_width,
                                int screen_height,
                                int width,
                                int height,
                                bool billboards);

// The billboard picture of `width` x `height`: centred horizontally, its lower edge 32
// pixels above `bottom` (the top of the window showing the progress). A picture that
// would leave the screen at the top stays at its upper edge.
ScreenPoint BillboardPlace(int screen_width, int width, int height, int bottom);

// The progress report of one download notification: the maximum 100 at the start, the
// position after each block, the position 0 at the end.
struct ProgressReport {
  StatusKind Kind = StatusKind::kPosition;
  int Value = 0;
  bool operator==(const ProgressReport&) const = default;
};
ProgressReport DownloadProgressReport(HttpProgressEvent event, uint64_t received, uint64_t announced);

}  // namespace kvb
