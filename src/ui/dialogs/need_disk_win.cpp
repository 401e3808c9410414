#include "ui/dialogs/need_disk_win.h"

#include "base/file_attributes_win.h"
#include "base/nearest_folder.h"
#include "base/text.h"
#include "ui/controls/button_win.h"
#include "ui/controls/control_bitmaps_win.h"
#include "ui/controls/edit_win.h"
#include "ui/controls/image_win.h"
#include "ui/controls/label_win.h"
#include "ui/dialogs/dialog_fonts_win.h"
#include "ui/dialogs/directory_sel_win.h"
#include "ui/dialogs/disk_volume.h"

namespace kvb {

namespace {

std::string WindowsFolder() {
  char folder[MAX_PATH] = {};
  GetWindowsDirectoryA(folder, MAX_PATH);
  return IncludeTrailingBackslash(folder);
}

}  // namespace

TfrmNeedDisk::TfrmNeedDisk(const DialogContext& context,
                           const NeedDiskTexts& texts,
                           const std::string& setup_path,
                           int disk)
    : TForm({.ClassName = kWindowClass,
             .Caption = texts.Caption,
             .ClientWidth = 377,
             .ClientHeight = 169,
             .Owner = context.Owner,
             .Font = DialogFont(context)}),
      context_(context),
      texts_(texts),
      setup_path_(setup_path),
      disk_(disk) {
  auto& disks = Own(std::make_unique<TImage>(*this, 8, 8, 48, 48));
  disks.SetPicture(LoadControlBitmap("DISKS"));
  disks.SetTransparent(true);
  auto& message =
      Own(std::make_unique<TLabel>(*this, 72, 8, 297, 72, DiskText(texts.Message, disk)));
  message.SetWordWrap(true);
  message.SetShowAccelChar(false);
  // The label comes just before the box, so that its mnemonic moves there.
  Own(std::make_unique<TLabel>(*this, 8, 80, 281, 14, texts.PathLabel));
  txtPath_ = &Own(std::make_unique<TEdit>(*this, 8, 96, 281, 21, ""));
  txtPath_->SetReadOnly(true);
  txtPath_->SetColor(kClBtnFace);
  auto& browse = Own(std::make_unique<TButton>(*this, 296, 95, 75, 23, texts.Browse));
  auto& ok = Own(std::make_unique<TButton>(*this, 216, 137, 75, 23, texts.Ok));
  auto& cancel = Own(std::make_unique<TButton>(*this, 296, 137, 75, 23, texts.Cancel));
  ok.SetDefault(true);
  cancel.SetCancel(true);
  cancel.SetModalResult(kMrCancel);
  ok.OnClick = [this](TWindow&) { btnOkClick(); };
  browse.OnClick = [this](TWindow&) { btnBrowseClick(); };
  ShowControls();
  CenterOnScreen();
}

TfrmNeedDisk::~TfrmNeedDisk() = default;

std::string TfrmNeedDisk::Path() const {
  return txtPath_->Text();
}

void TfrmNeedDisk::SetPath(const std::string& path) {
  txtPath_->SetText(path);
}

void TfrmNeedDisk::btnOkClick() {
  if (IsFile(ExpectedVolumeFile(Path(), setup_path_, disk_))) {
    SetModalResult(kMrOk);
    return;
  }
  ShowDialogMessage(context_, Handle(), DiskText(texts_.NotFound, disk_), MB_ICONERROR);
}

void TfrmNeedDisk::btnBrowseClick() {
  TfrmDirectorySel select(OverDialog(context_, Handle()), {.Caption = texts_.FolderCaption,
                                                           .Directory = texts_.FolderDirectory,
                                                           .Directories = texts_.FolderDirectories,
                                                           .Drives = texts_.FolderDrives,
                                                           .Ok = texts_.Ok,
                                                           .Cancel = texts_.Cancel});
  select.SetShowNewFolder(false);
  select.SetTakeTypedText(true);
  select.SetStartFolder(NearestExistingFolder(Path(), WindowsFolder(), IsFolder));
  select.SetDirectoryText(Path());
  if (select.ShowModal() == kMrOk)
    SetPath(select.Directory());
}

std::optional<std::string> AskNextDisk(const DialogContext& context,
                                       const MessageText& messages,
                                       const std::string& setup_path,
                                       int disk,
                                       const std::string& folder) {
  // The prompt's label shows `&` as it is, so no name is escaped.
  const NeedDiskTexts texts = {.Caption = messages(50, false),
                               .Message = messages(51, false),
                               .PathLabel = messages(52, false),
                               .Browse = messages(57, false),
                               .Ok = messages(0, false),
                               .Cancel = messages(1, false),
                               .NotFound = messages(20, false),
                               .FolderCaption = messages(46, false),
                               .FolderDirectory = messages(47, false),
                               .FolderDirectories = messages(48, false),
                               .FolderDrives = messages(49, false)};
  TfrmNeedDisk dialog(context, texts, setup_path, disk);
  dialog.SetPath(folder);
  if (dialog.ShowModal() != kMrOk)
    return std::nullopt;
  return dialog.Path();
}

bool AskFirstDisk(const DialogContext& context,
                  const MessageText& messages,
                  const std::string& setup_path) {
  return AskNextDisk(context, messages, setup_path, 1, ExtractFilePath(setup_path)).has_value();
}

}  // namespace kvb
