#include "ui/dialogs/new_folder_win.h"

#include "ui/controls/button_win.h"
#include "ui/controls/edit_win.h"
#include "ui/controls/label_win.h"
#include "ui/dialogs/dialog_fonts_win.h"

namespace kvb {

TfrmNewFolder::TfrmNewFolder(const DialogContext& context, const NewFolderTexts& texts)
    : TForm({.ClassName = kWindowClass,
             .Caption = texts.Caption,
             .ClientWidth = 345,
             .ClientHeight = 73,
             .Owner = context.Owner,
             .Font = DialogFont(context)}),
      context_(context) {
  lblFolderName_ = &Own(std::make_unique<TLabel>(*this, 12, 12, 241, 14, texts.Label));
  txtFolderName_ = &Own(std::make_unique<TEdit>(*this, 12, 32, 241, 21, ""));
  auto& add = Own(std::make_unique<TButton>(*this, 260, 30, 75, 23, texts.Add));
  add.SetDefault(true);
  add.OnClick = [this](TWindow&) { btnOKClick(); };
  ShowControls();
  CenterOnScreen();
}

std::string TfrmNewFolder::FolderName() const {
  return txtFolderName_->Text();
}

void TfrmNewFolder::btnOKClick() {
  if (FolderName().empty()) {
    ShowDialogMessage(context_, Handle(),
                      "You need to type a value in the field " + lblFolderName_->Text() + ".",
                      MB_ICONINFORMATION);
    txtFolderName_->SetFocus();
    return;
  }
  SetModalResult(kMrOk);
}

}  // namespace kvb
