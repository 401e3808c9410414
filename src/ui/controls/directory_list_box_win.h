// TNewDirectoryListBox: the folder tree of one drive as a list: the drive root, every
// folder down to the current one and the current folder's sub-folders, each indented with
// its picture (directory_entries.h). It is rebuilt whenever the folder changes; when the
// volume information of the folder's drive cannot be read, it stays empty. Double-click
// on an entry changes to it; every change updates the linked label and raises OnChange.
#pragma once

#include <string>
#include <vector>

#include "ui/base/gdi_object_win.h"
#include "ui/base/window_win.h"
#include "ui/controls/directory_entries.h"

namespace kvb {

class TNewDirectoryListBox : public TWindow {
 public:
  TNewDirectoryListBox(TWindow& parent, int left, int top, int width, int height);

  // The current folder ("C:\Windows"; a root keeps its backslash "C:\").
  const std::string& Directory() const { return directory_; }
  // Moves to `folder` (a trailing backslash is ignored), rebuilds the list, updates the
  // linked label and raises OnChange when the folder differs from the current one
  // (case-insensitive). The folder need not exist; the list then holds what can be read.
  void SetDirectory(const std::string& folder);
  // The item height: the text's or the pictures' (16), whichever is higher.
  void SetFont(const TFontRecord& font) override;
  // Re-reads the current folder's sub-folders.
  void Update();
  // Whether the drive's file system keeps the case of names (read with the volume).
  bool PreserveCase() const { return preserve_case_; }
  bool CaseSensitive() const { return case_sensitive_; }

  // A window whose text shows the current folder (a label); null for none.
  void SetDirLabel(TWindow* label);

  // The entries shown, in list order.
  const std::vector<DirectoryEntry>& Entries() const { return entries_; }

  // The folder changed (SetDirectory, double-click).
  NotifyEvent OnChange;

 protected:
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  void Rebuild();
  std::vector<std::string> SubFolders() const;
  void UpdateItemHeight();
  void OpenEntry(int index);
  void DrawItem(const DRAWITEMSTRUCT& draw);

  std::string directory_;
  std::vector<DirectoryEntry> entries_;
  bool preserve_case_ = true;
  bool case_sensitive_ = false;
  TWindow* dir_label_ = nullptr;
  UniqueBitmap pictures_[3];  // by FolderPicture
};

}  // namespace kvb
