// Where the installation's windows stand, and what a download's notifications show.
#include <gtest/gtest.h>

#include "ui/installation/installation_layout.h"

namespace kvb {
namespace {

TEST(InstallationLayoutTest, ProgressWindowIsCentredOrLowAboveTheScreenEdge) {
  // Centred: halves rounded towards zero.
  EXPECT_EQ(ProgressWindowPlace(1024, 768, 303, 157, false), (ScreenPoint{360, 305}));
  // With billboards: its lower edge 48 pixels above the screen's.
  EXPECT_EQ(ProgressWindowPlace(1024, 768, 303, 157, true), (ScreenPoint{360, 563}));
  // A window wider than the screen starts left of it rather than being pushed right.
  EXPECT_EQ(ProgressWindowPlace(640, 480, 801, 100, false), (ScreenPoint{-80, 190}));
}

TEST(InstallationLayoutTest, BillboardStandsAboveTheProgressAndOnTheScreen) {
  EXPECT_EQ(BillboardPlace(1024, 400, 300, 563), (ScreenPoint{312, 231}));
  // A picture taller than the room above the window keeps its upper edge on the screen.
  EXPECT_EQ(BillboardPlace(1024, 400, 300, 200), (ScreenPoint{312, 0}));
}

TEST(InstallationLayoutTest, DownloadNotificationsMoveTheBarFromStartToEnd) {
  EXPECT_EQ(DownloadProgressReport(HttpProgressEvent::kStart, 0, 0),
            (ProgressReport{StatusKind::kMaximum, 100}));
  EXPECT_EQ(DownloadProgressReport(HttpProgressEvent::kData, 333, 1000),
            (ProgressReport{StatusKind::kPosition, 33}));
  EXPECT_EQ(DownloadProgressReport(HttpProgressEvent::kData, 1000, 1000),
            (ProgressReport{StatusKind::kPosition, 100}));
  // No announced length: the bar still moves, and never past its end.
  const ProgressReport unknown = DownloadProgressReport(HttpProgressEvent::kData, 256 * 1024, 0);
  EXPECT_EQ(unknown.Kind, StatusKind::kPosition);
  EXPECT_GT(unknown.Value, 0);
  EXPECT_LT(unknown.Value, 100);
  EXPECT_EQ(DownloadProgressReport(HttpProgressEvent::kEnd, 1000, 1000),
            (ProgressReport{StatusKind::kPosition, 0}));
}

}  // namespace
}  // namespace kvb
