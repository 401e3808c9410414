// TfrmSecondaryDialog: the frame of a secondary dialog: a borderless panel at (0, 0)
// that the wizard builds the dialog's controls on. At its first paint it runs the
// dialog's shown script once (through OnFirstShown) and closes with the abort result
// when that says so.
#pragma once

#include <functional>

#include "ui/base/form_win.h"
#include "ui/base/panel_win.h"

namespace kvb {

class TfrmSecondaryDialog : public TForm {
 public:
  static constexpr char kWindowClass[] = "TfrmSecondaryDialog";

  // Created hidden, owned by `owner`, 251 x 198 in Arial 8.
  explicit TfrmSecondaryDialog(HWND owner);

  TPanel& Panel() { return *pnlSecondary_; }
  // Client and panel size.
  void SetDialogSize(int width, int height);

  // Runs the shown script; false closes the dialog with the abort result.
  std::function<bool()> OnFirstShown;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  TPanel* pnlSecondary_;
  bool shown_script_done_ = false;
};

}  // namespace kvb
