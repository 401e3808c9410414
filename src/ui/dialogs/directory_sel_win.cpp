#include "ui/dialogs/directory_sel_win.h"

#include "base/file_attributes_win.h"
#include "base/text.h"
#include "ui/controls/button_win.h"
#include "ui/controls/directory_list_box_win.h"
#include "ui/controls/drive_combo_box_win.h"
#include "ui/controls/edit_win.h"
#include "ui/controls/label_win.h"
#include "ui/dialogs/dialog_fonts_win.h"
#include "ui/dialogs/new_folder_win.h"

namespace kvb {

namespace {

std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  return folder;
}

}  // namespace

TfrmDirectorySel::TfrmDirectorySel(const DialogContext& context, const DirectorySelTexts& texts)
    : TForm({.ClassName = kWindowClass,
             .Caption = texts.Caption,
             .ClientWidth = 281,
             .ClientHeight = 277,
             .Owner = context.Owner,
             .Font = DialogFont(context)}),
      context_(context) {
  Own(std::make_unique<TLabel>(*this, 12, 12, 177, 14, texts.Directory));
  txtDirectory_ = &Own(std::make_unique<TEdit>(*this, 12, 28, 177, 21, ""));
  btnNewFolder_ = &Own(std::make_unique<TButton>(*this, 196, 28, 75, 20, texts.NewFolder));
  Own(std::make_unique<TLabel>(*this, 12, 60, 257, 14, texts.Directories));
  lstDirectories_ = &Own(std::make_unique<TNewDirectoryListBox>(*this, 12, 76, 257, 97));
  Own(std::make_unique<TLabel>(*this, 12, 188, 257, 14, texts.Drives));
  cmbDrives_ = &Own(std::make_unique<TNewDriveComboBox>(*this, 12, 204, 257, 21));
  auto& ok = Own(std::make_unique<TButton>(*this, 116, 244, 75, 23, texts.Ok));
  auto& cancel = Own(std::make_unique<TButton>(*this, 196, 244, 75, 23, texts.Cancel));
  ok.SetDefault(true);
  cancel.SetCancel(true);
  cancel.SetModalResult(kMrCancel);
  ok.OnClick = [this](TWindow&) { btnOKClick(); };
  btnNewFolder_->OnClick = [this](TWindow&) { btnNewFolderClick(); };
  ShowControls();
  cmbDrives_->SetDirList(lstDirectories_);
  lstDirectories_->OnChange = [this](TWindow&) {
    const std::string& folder = lstDirectories_->Directory();
    txtDirectory_->SetText(folder);
    if (!folder.empty())
      cmbDrives_->SetDrive(folder[0]);
  };
  lstDirectories_->SetDirectory(CurrentFolder());
  SetShowNewFolder(true);
  SetStartFolder("");
  CenterOnScreen();
}

TfrmDirectorySel::~TfrmDirectorySel() = default;

void TfrmDirectorySel::SetShowNewFolder(bool show) {
  btnNewFolder_->SetVisible(show);
  txtDirectory_->SetBounds(12, 28, show ? 177 : 257, 21);
}

void TfrmDirectorySel::SetStartFolder(const std::string& folder) {
  if (!folder.empty()) {
    if (IsFolder(folder)) {
      lstDirectories_->SetDirectory(folder);
    } else {
      ShowDialogMessage(context_, Handle(), "Invalid or not existent directory.", MB_ICONERROR);
    }
  }
  txtDirectory_->SetText(lstDirectories_->Directory());
}

void TfrmDirectorySel::SetDirectoryText(const std::string& text) {
  txtDirectory_->SetText(text);
}

void TfrmDirectorySel::btnOKClick() {
  directory_ = take_typed_text_ ? txtDirectory_->Text() : lstDirectories_->Directory();
  SetModalResult(kMrOk);
}

void TfrmDirectorySel::btnNewFolderClick() {
  TfrmNewFolder ask(OverDialog(context_, Handle()));
  if (ask.ShowModal() != kMrOk)
    return;
  const std::string path =
      IncludeTrailingBackslash(lstDirectories_->Directory()) + ask.FolderName();
  if (CreateDirectoryA(path.c_str(), nullptr))
    lstDirectories_->Update();
}

}  // namespace kvb
