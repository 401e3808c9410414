// TCheckBox and TRadioButton: check-style buttons that paint over their parent's
// background (TTransparentPaint, on by default). Changing the check state from code
// raises the same click event as the user's click: a check box on every change of state,
// a radio button when it becomes checked. Checking a radio button unchecks the other
// radio buttons on the same parent.
#pragma once

#include <string>

#include "ui/base/window_win.h"
#include "ui/controls/transparent_paint_win.h"

namespace kvb {

class TCheckStyleButton : public TWindow {
 public:
  bool Checked() const;
  virtual void SetChecked(bool checked) = 0;

  bool TransparentPaint() const { return transparent_.On(); }
  void SetTransparentPaint(bool on);
  const TTransparentPaint& Painter() const { return transparent_; }

  // The user's click or a change of the check state from code (see above).
  NotifyEvent OnClick;

 protected:
  TCheckStyleButton(TWindow& parent,
                    int left,
                    int top,
                    int width,
                    int height,
                    const std::string& caption,
                    DWORD button_style);
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void FireClick();

 private:
  TTransparentPaint transparent_{*this};
};

class TCheckBox : public TCheckStyleButton {
 public:
  TCheckBox(TWindow& parent, int left, int top, int width, int height, const std::string& caption);
  void SetChecked(bool checked) override;

 protected:
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
};

class TRadioButton : public TCheckStyleButton {
 public:
  TRadioButton(TWindow& parent,
               int left,
               int top,
               int width,
               int height,
               const std::string& caption);
  void SetChecked(bool checked) override;

 protected:
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
};

}  // namespace kvb
