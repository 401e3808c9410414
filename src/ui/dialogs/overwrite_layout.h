// The layout of the overwrite prompt for its file-info mode, free of windows so that it
// is tested on the host.
#pragma once

#include <array>

namespace kvb {

// File-info modes of the prompt: no file rows, the existing file, or both files.
enum FileInfoMode { kFileInfoNone = 0, kFileInfoExisting = 1, kFileInfoBoth = 2 };

struct OverwriteLayout {
  int ButtonTop = 64;
  int FormHeight = 133;  // of the whole window
  bool ExistingRow = false;
  bool DestinationRow = false;
  bool Pictures = false;     // the file pictures
  int FileLabelLeft = 120;   // 76 without pictures
  int FileLabelWidth = 285;  // 329 without pictures
  std::array<int, 5> ButtonLeft = {12, 92, 172, 251,
                                   331};  // Yes, Yes To All, No, No To All, Cancel
  bool CancelButton = true;
};

// Mode 0 (and any unknown mode): buttons at 64, no file rows, height 133. Mode 1: buttons
// at 139, the existing file's row, height 204. Mode 2: buttons at 231, both rows, height
// 296. Without an icon for the file the pictures go and the file labels move to x = 76,
// 329 wide. The four-button form moves Yes ... No To All to x = 51, 131, 211, 291 and
// has no Cancel button.
OverwriteLayout OverwritePromptLayout(int mode, bool has_icon, bool four_buttons);

}  // namespace kvb
