// TfrmMsgBoxFiles: the prompt that asks whether a file may be overwritten (five buttons:
// Yes, Yes To All, No, No To All, Cancel) or what to do with a shared file (four buttons).
// It shows the question icon, the message and, by its file-info mode, rows for the
// existing and the new file with the file type's icon, size and date (overwrite_layout.h).
// No is the default button and first in the tab order.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/base/form_win.h"
#include "ui/dialogs/overwrite_layout.h"

namespace kvb {

class TButton;
class TImage;
class TLabel;

struct OverwriteTexts {
  std::string Caption;
  std::string Message;
  std::string Yes = "Yes";
  std::string YesToAll = "Yes To All";
  std::string No = "No";
  std::string NoToAll = "No To All";
  std::string Cancel = "Cancel";
  std::string ExistingLabel = "Existent File";
  std::string DestinationLabel = "Destination File";
};

// The new file of mode 2: its DOS date (date in the high word, time in the low word,
// local time) and size in bytes.
struct NewFileInfo {
  uint32_t DosDate = 0;
  uint64_t Size = 0;
};

class TfrmMsgBoxFiles : public TForm {
 public:
  static constexpr char kWindowClass[] = "TfrmMsgBoxFiles";

  // Created hidden over `owner`, with the owner's font ("MS Sans Serif" 8 without one).
  explicit TfrmMsgBoxFiles(HWND owner);
  ~TfrmMsgBoxFiles() override;

  void SetTexts(const OverwriteTexts& texts);
  // Arranges the form for `mode` (FileInfoMode): the existing file's icon from the
  // system's file icons, its size and date, and in mode 2 the new file's.
  void Arrange(int mode,
               const std::string& existing_path,
               const NewFileInfo& new_file,
               bool four_buttons);

 private:
  TLabel& Label(int left, int top, int width, int height, bool wrap);
  TButton& Button(int result);

  TImage* imgInfo_;
  TButton* btnYes_;
  TLabel* lblMsg_;
  TButton* btnYesToAll_;
  TButton* btnNo_;
  TButton* btnNoToAll_;
  TButton* btnCancel_;
  TImage* imgFile1_;
  TLabel* lblFile1_;
  TLabel* lblExistent_;
  TLabel* lblDestination_;
  TImage* imgFile2_;
  TLabel* lblFile2_;
};

// The five-button prompt (mode 0, 1 or 2); returns kMrYes, kMrYesToAll, kMrNo,
// kMrNoToAll or kMrCancel (also when closed).
int AskFileOverwrite(HWND owner,
                     const OverwriteTexts& texts,
                     int mode,
                     const std::string& existing_path,
                     const NewFileInfo& new_file);

// The four-button prompt about one existing file (mode 1, no Cancel button); kMrCancel
// when it is closed.
int AskFileAction(HWND owner, const OverwriteTexts& texts, const std::string& path);

}  // namespace kvb
