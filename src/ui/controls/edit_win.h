// TEdit: a single-line edit box in the window colour and the font's colour.
#pragma once

#include <string>

#include "ui/base/window_win.h"

namespace kvb {

class TEdit : public TWindow {
 public:
  TEdit(TWindow& parent, int left, int top, int width, int height, const std::string& text);

  bool ReadOnly() const;
  void SetReadOnly(bool read_only);

  // The text changed, by the user or by SetText.
  NotifyEvent OnChange;

 protected:
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
};

}  // namespace kvb
