#include "ui/dialogs/copying_files_win.h"

#include "ui/controls/button_win.h"
#include "ui/controls/label_win.h"
#include "ui/controls/progress_bar_win.h"
#include "ui/dialogs/dialog_fonts_win.h"

namespace kvb {

TfrmCopyingFiles::TfrmCopyingFiles(HWND owner, const std::string& caption)
    : TForm({.ClassName = kWindowClass,
             .Caption = caption,
             .ClientWidth = 297,
             .ClientHeight = 129,
             .Owner = owner,
             .Font = DesignedDialogFont()}) {
  lblCopying_ = &Own(std::make_unique<TLabel>(*this, 12, 16, 273, 14, ""));
  lblProc_ = &Own(std::make_unique<TLabel>(*this, 12, 36, 273, 14, ""));
  pbProgress_ = &Own(std::make_unique<TProgressBar>(*this, 12, 60, 273, 16, true));
  btnCancel_ = &Own(std::make_unique<TButton>(*this, 110, 92, 75, 23, "Cancel"));
  btnCancel_->SetCancel(true);
  btnCancel_->OnClick = [this](TWindow&) {
    if (OnCancel)
      OnCancel();
  };
  lblCopying_->SetFont(BoldFont(Font()));
  ShowControls();
}

TfrmCopyingFiles::~TfrmCopyingFiles() = default;

void TfrmCopyingFiles::SetFont(const TFontRecord& font) {
  TForm::SetFont(font);
  if (!lblCopying_)
    return;
  TFontRecord status = lblCopying_->Font();
  status.FaceName = font.FaceName;
  status.Size = font.Size;
  status.Charset = font.Charset;
  lblCopying_->SetFont(status);
  for (TWindow* control : {static_cast<TWindow*>(lblProc_), static_cast<TWindow*>(btnCancel_)})
    control->SetFont(font);
}

void TfrmCopyingFiles::ShowStatus(int kind, const std::string& text, int value) {
  switch (kind) {
    case 0:
      lblCopying_->SetText(text);
      lblCopying_->Repaint();
      break;
    case 1:
      lblProc_->SetText(text);
      lblProc_->Repaint();
      break;
    case 2:
      pbProgress_->SetPosition(value);
      break;
    case 3:
      pbProgress_->SetMax(value);
      break;
  }
}

void TfrmCopyingFiles::SetCancelCaption(const std::string& caption) {
  btnCancel_->SetText(caption);
}

void TfrmCopyingFiles::SetCancelEnabled(bool enabled) {
  btnCancel_->SetEnabled(enabled);
}

}  // namespace kvb
