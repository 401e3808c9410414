// TfrmNeedDisk: asks for the disk (volume file) the installation needs next. OK ends the
// dialog only when the folder in the path box holds the expected volume file
// (disk_volume.h); otherwise it says that the data was not found and stays open. Browse
// picks the folder in a folder selection that takes the typed text.
#pragma once

#include <optional>
#include <string>

#include "ui/base/form_win.h"
#include "ui/dialogs/dialog_context_win.h"

namespace kvb {

class TButton;
class TEdit;
class TLabel;

struct NeedDiskTexts {
  std::string Caption = "Setup Need the Next Disk";
  std::string Message =
      "Please insert Disk <disk> and click OK. If the files on this disk can be found in a "
      "folder other than the one displayed below, enter the correct path or click Browse.";
  std::string PathLabel = "Path";
  std::string Browse = "Browse";
  std::string Ok = "OK";
  std::string Cancel = "Cancel";
  std::string NotFound;  // "<disk>" stands for the disk number
  // The folder selection's caption and labels.
  std::string FolderCaption = "Directory Selection";
  std::string FolderDirectory = "Directory";
  std::string FolderDirectories = "Directories";
  std::string FolderDrives = "Drives";
};

class TfrmNeedDisk : public TForm {
 public:
  static constexpr char kWindowClass[] = "TfrmNeedDisk";
  // `setup_path` is the setup program's file, which names the volume files. "<disk>" in
  // the message is replaced by the disk number.
  TfrmNeedDisk(const DialogContext& context,
               const NeedDiskTexts& texts,
               const std::string& setup_path,
               int disk);
  ~TfrmNeedDisk() override;

  std::string Path() const;
  void SetPath(const std::string& path);

 private:
  void btnOkClick();
  void btnBrowseClick();

  DialogContext context_;
  NeedDiskTexts texts_;
  std::string setup_path_;
  int disk_;
  TEdit* txtPath_;
};

// The next-disk request for `disk`, the path box showing `folder`; the folder typed or
// chosen when it ended with OK, nothing when it was cancelled. Texts: caption message 50,
// prompt 51, "Path" 52, "Browse" 57, "OK" 0, "Cancel" 1, not found 20, folder selection
// 46 to 49.
std::optional<std::string> AskNextDisk(const DialogContext& context,
                                       const MessageText& messages,
                                       const std::string& setup_path,
                                       int disk,
                                       const std::string& folder);

// The request for the first disk (the one with the setup program, whose folder the path
// box shows); true when it ended with OK.
bool AskFirstDisk(const DialogContext& context,
                  const MessageText& messages,
                  const std::string& setup_path);

}  // namespace kvb
