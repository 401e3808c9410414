#include <gtest/gtest.h>

#include "ui/dialogs/disk_volume.h"
#include "ui/dialogs/overwrite_layout.h"

namespace kvb {
namespace {

TEST(OverwriteLayoutTest, ModesIconsAndButtons) {
  struct Case {
    int mode;
    bool has_icon, four_buttons;
    int button_top, height;
    bool existing, destination, pictures;
    int label_left, label_width, no_left;
    bool cancel;
  } cases[] = {
      {0, true, false, 64, 133, false, false, false, 120, 285, 172, true},
      {1, true, false, 139, 204, true, false, true, 120, 285, 172, true},
      {2, true, false, 231, 296, true, true, true, 120, 285, 172, true},
      {2, false, false, 231, 296, true, true, false, 76, 329, 172, true},
      {1, true, true, 139, 204, true, false, true, 120, 285, 211, false},
      {7, true, false, 64, 133, false, false, false, 120, 285, 172, true},  // unknown: none
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    const OverwriteLayout l = OverwritePromptLayout(c.mode, c.has_icon, c.four_buttons);
    EXPECT_EQ(l.ButtonTop, c.button_top);
    EXPECT_EQ(l.FormHeight, c.height);
    EXPECT_EQ(l.ExistingRow, c.existing);
    EXPECT_EQ(l.DestinationRow, c.destination);
    EXPECT_EQ(l.Pictures, c.pictures);
    EXPECT_EQ(l.FileLabelLeft, c.label_left);
    EXPECT_EQ(l.FileLabelWidth, c.label_width);
    EXPECT_EQ(l.ButtonLeft[2], c.no_left);
    EXPECT_EQ(l.CancelButton, c.cancel);
  }
  EXPECT_EQ(OverwritePromptLayout(1, true, true).ButtonLeft[0], 51);
  EXPECT_EQ(OverwritePromptLayout(1, true, false).ButtonLeft[4], 331);
}

TEST(DiskVolumeTest, ExpectedFileAndText) {
  EXPECT_EQ(ExpectedVolumeFile("D:\\Disks", "C:\\Temp\\setup.exe", 12), "D:\\Disks\\setup.012");
  EXPECT_EQ(ExpectedVolumeFile("D:\\", "setup.exe", 1), "D:\\setup.001");
  EXPECT_EQ(ExpectedVolumeFile("E:", "C:\\My.Setup.EXE", 120), "E:\\My.Setup.120")
      << "only the last extension goes";
  EXPECT_EQ(ExpectedVolumeFile("F:\\", "C:\\noext", 3), "F:\\noext.003");
  EXPECT_EQ(DiskText("Insert Disk <disk>, then <DISK> again.", 12),
            "Insert Disk 12, then 12 again.");
  EXPECT_EQ(DiskText("No number here", 3), "No number here");
}

}  // namespace
}  // namespace kvb
