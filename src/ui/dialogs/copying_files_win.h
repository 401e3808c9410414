// TfrmCopyingFiles: the progress window of an installation when the package has no
// "INSTALL" page: a status line, a detail line, a progress bar and a Cancel button whose
// click the wizard decides about (OnCancel).
#pragma once

#include <functional>
#include <string>

#include "ui/base/form_win.h"

namespace kvb {

class TButton;
class TLabel;
class TProgressBar;

class TfrmCopyingFiles : public TForm {
 public:
  static constexpr char kWindowClass[] = "TfrmCopyingFiles";

  // Created hidden, owned by `owner`, captioned `caption` (the application title).
  TfrmCopyingFiles(HWND owner, const std::string& caption);
  ~TfrmCopyingFiles() override;

  // The installation's status: kind 0 sets the status line, 1 the detail line, 2 the
  // bar's position and 3 its maximum (`value`); other kinds are ignored.
  void ShowStatus(int kind, const std::string& text, int value);
  // The form's font; the bold status line takes its face, size and character set.
  void SetFont(const TFontRecord& font) override;
  void SetCancelCaption(const std::string& caption);
  void SetCancelEnabled(bool enabled);

  const TLabel& StatusLine() const { return *lblCopying_; }
  const TLabel& DetailLine() const { return *lblProc_; }
  const TProgressBar& Progress() const { return *pbProgress_; }

  // The Cancel button was clicked (the wizard closes itself, which asks the user).
  std::function<void()> OnCancel;

 private:
  TLabel* lblCopying_ = nullptr;
  TLabel* lblProc_ = nullptr;
  TProgressBar* pbProgress_ = nullptr;
  TButton* btnCancel_ = nullptr;
};

}  // namespace kvb
