// TfrmDirectorySel: choosing a folder in a folder tree with a drive list, or typing it.
// The start folder moves the tree there when it exists; otherwise the dialog says
// "Invalid or not existent directory." and shows the tree's folder. Every folder change
// in the tree shows in the edit box. OK takes the typed text (when asked to) or the
// tree's folder. New Folder creates a folder in the tree's folder.
#pragma once

#include <string>

#include "ui/base/form_win.h"
#include "ui/dialogs/dialog_context_win.h"

namespace kvb {

class TButton;
class TEdit;
class TNewDirectoryListBox;
class TNewDriveComboBox;

struct DirectorySelTexts {
  std::string Caption = "Directory Selection";
  std::string Directory = "Directory";
  std::string Directories = "Directories";
  std::string Drives = "Drives";
  std::string Ok = "OK";
  std::string Cancel = "Cancel";
  std::string NewFolder = "New Folder";
};

class TfrmDirectorySel : public TForm {
 public:
  static constexpr char kWindowClass[] = "TfrmDirectorySel";
  // Created hidden, centred on the screen, the tree in the current folder.
  explicit TfrmDirectorySel(const DialogContext& context,
                            const DirectorySelTexts& texts = DirectorySelTexts());
  ~TfrmDirectorySel() override;

  // The New Folder button (shown at first) and the edit box's width (177 with it, 257
  // without).
  void SetShowNewFolder(bool show);
  // OK takes the edit box's text rather than the tree's folder (off at first).
  void SetTakeTypedText(bool take) { take_typed_text_ = take; }
  // Moves the tree to `folder` when it exists, else shows the invalid-folder message; the
  // edit box then shows the tree's folder. An empty folder only shows the tree's folder.
  void SetStartFolder(const std::string& folder);
  void SetDirectoryText(const std::string& text);
  // The chosen folder once the dialog ended with OK.
  const std::string& Directory() const { return directory_; }

  TNewDirectoryListBox& Tree() { return *lstDirectories_; }

 private:
  void btnOKClick();
  void btnNewFolderClick();

  DialogContext context_;
  bool take_typed_text_ = false;
  std::string directory_;
  TEdit* txtDirectory_;
  TButton* btnNewFolder_;
  TNewDirectoryListBox* lstDirectories_;
  TNewDriveComboBox* cmbDrives_;
};

}  // namespace kvb
