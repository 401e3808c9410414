// TButton: a push button. A default button answers Enter and a cancel button Escape on
// its form (when visible and enabled); a button with a modal result sets it on its form
// when clicked, which ends the form's modal run.
#pragma once

#include <string>

#include "ui/base/window_win.h"

namespace kvb {

class TButton : public TWindow {
 public:
  TButton(TWindow& parent, int left, int top, int width, int height, const std::string& caption);

  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int result) { modal_result_ = result; }

  // The button was clicked (mouse, space bar, Enter/Escape as default/cancel button,
  // Click()).
  NotifyEvent OnClick;

  bool AnswersDialogKey(DialogKey key) const override;
  void Click() override;

 protected:
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  int modal_result_ = 0;
};

}  // namespace kvb
