#include "ui/installation/installation_layout.h"

#include <algorithm>

#include "net/download_progress.h"

namespace kvb {

ScreenPoint ProgressWindowPlace(int screen_width,
                                int screen_height,
                                int width,
                                int height,
                                bool billboards) {
  const int top = billboards ? screen_height - height - kProgressBottomMargin
                             : (screen_height - height) / 2;
  return {(screen_width - width) / 2, top};
}

ScreenPoint BillboardPlace(int screen_width, int width, int height, int bottom) {
  return {(screen_width - width) / 2, std::max(0, bottom - height - kBillboardGap)};
}

ProgressReport DownloadProgressReport(HttpProgressEvent event, uint64_t received, uint64_t announced) {
  switch (event) {
    case HttpProgressEvent::kStart:
      return {StatusKind::kMaximum, 100};
    case HttpProgressEvent::kData:
      return {StatusKind::kPosition, DownloadProgressPosition(received, announced)};
    case HttpProgressEvent::kEnd:
      break;
  }
  return {StatusKind::kPosition, 0};
}

}  // namespace kvb
