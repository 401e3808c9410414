// TfrmNewFolder: asks for the name of a folder to create. "Add" with an empty name says
// that a value is needed and stays open.
#pragma once

#include <string>

#include "ui/base/form_win.h"
#include "ui/dialogs/dialog_context_win.h"

namespace kvb {

class TEdit;
class TLabel;

struct NewFolderTexts {
  std::string Caption = "New Folder";
  std::string Label = "Folder Name";
  std::string Add = "Add";
};

class TfrmNewFolder : public TForm {
 public:
  static constexpr char kWindowClass[] = "TfrmNewFolder";
  explicit TfrmNewFolder(const DialogContext& context,
                         const NewFolderTexts& texts = NewFolderTexts());

  // The typed name.
  std::string FolderName() const;

 private:
  void btnOKClick();

  DialogContext context_;
  TLabel* lblFolderName_;
  TEdit* txtFolderName_;
};

}  // namespace kvb
