// TLabel: a text on its parent (a subclassed static control, so that it stays a label
// for accessibility and gives mnemonics to the control after it). It paints itself:
// word-wrapped or not, at the top or vertically centred, over its colour or, when
// transparent, over its parent's background; grey and embossed when disabled.
#pragma once

#include <string>

#include "ui/base/window_win.h"

namespace kvb {

class TLabel : public TWindow {
 public:
  TLabel(TWindow& parent, int left, int top, int width, int height, const std::string& caption);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool word_wrap);
  // Vertically centred text (else at the top).
  void SetCentredVertically(bool centred);
  // `&` marks the mnemonic (on by default); off shows every `&`.
  void SetShowAccelChar(bool show);

  // A click on the label.
  NotifyEvent OnClick;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  void Paint(HDC dc);
  UINT TextFormat() const;

  bool transparent_ = false;
  bool word_wrap_ = false;
  bool centred_ = false;
  bool show_accel_ = true;
};

}  // namespace kvb
