// TNewDriveComboBox: the drives of the machine with their pictures, in a drop-down list
// (drive_entries.h): one entry per drive of the logical-drive mask, removable drives
// never touched. Selecting a drive moves the linked folder list to the drive's root and
// raises OnChange. At first the drive of the current folder is selected.
#pragma once

#include <string>
#include <vector>

#include "ui/base/gdi_object_win.h"
#include "ui/base/window_win.h"
#include "ui/controls/drive_entries.h"

namespace kvb {

class TNewDirectoryListBox;

class TNewDriveComboBox : public TWindow {
 public:
  TNewDriveComboBox(TWindow& parent, int left, int top, int width, int height);

  // The selected drive's letter (lower case), 0 when none.
  char Drive() const { return drive_; }
  // Selects the drive of `letter` (either case) when it is in the list, moves the linked
  // folder list to it and raises OnChange when the drive changed. False when the list
  // has no such drive.
  bool SetDrive(char letter);
  // Re-reads the drives.
  void Refresh();
  // The item height: the text's or the pictures' (16), whichever is higher.
  void SetFont(const TFontRecord& font) override;

  // The folder list this one moves; null for none.
  void SetDirList(TNewDirectoryListBox* list);
  TextCase Case() const { return text_case_; }
  void SetTextCase(TextCase text_case);
  // Re-read the drives each time the list drops down.
  bool AutoRefresh() const { return auto_refresh_; }
  void SetAutoRefresh(bool auto_refresh) { auto_refresh_ = auto_refresh; }

  // The drives shown, in list order.
  const std::vector<DriveInfo>& Drives() const { return drives_; }

  // The drive changed (by the user or SetDrive).
  NotifyEvent OnChange;

 protected:
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  void Fill();
  void UpdateItemHeight();
  void DrawItem(const DRAWITEMSTRUCT& draw);
  int IndexOf(char letter) const;
  HBITMAP Picture(DriveKind kind);

  std::vector<DriveInfo> drives_;
  char drive_ = 0;
  TextCase text_case_ = TextCase::kLowerCase;
  bool auto_refresh_ = false;
  TNewDirectoryListBox* dir_list_ = nullptr;
  UniqueBitmap pictures_[6];  // by DriveKind, loaded when first drawn
};

}  // namespace kvb
