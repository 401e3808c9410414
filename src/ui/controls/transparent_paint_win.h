// TTransparentPaint: paints a check box or radio button over its parent's background.
// The parent's area under the control is painted into an off-screen bitmap (or taken
// from the nearest ancestor that paints transparently itself); the control paints itself
// into a second bitmap, every pixel of the colour at its top-left corner is replaced by
// the background, and the result goes to the screen in one copy.
//
// One process-wide counter guards against re-entry: while a transparent paint runs,
// any other one is skipped and the control paints the ordinary way.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/base/gdi_object_win.h"

namespace kvb {

class TWindow;

class TTransparentPaint {
 public:
  explicit TTransparentPaint(TWindow& control) : control_(control) {}

  bool On() const { return on_; }
  void SetOn(bool on) { on_ = on; }

  // Paints the control into `target` (its client DC). `paint_control` draws the
  // control's ordinary picture into the DC it is given. False when the paint was not
  // made (off, or another transparent paint is running): the caller paints as usual.
  bool Paint(HDC target, const std::function<void(HDC)>& paint_control);

  // The background image of the last paint (the control's client size), used by
  // transparent controls placed on this one; null before the first paint.
  HBITMAP Background() const { return background_.Get(); }

  // The number of transparent paints running now (0 or 1).
  static int ActivePaints();

 private:
  void PaintBackground(HDC dc, int width, int height);

  TWindow& control_;
  bool on_ = true;
  UniqueBitmap background_;
};

}  // namespace kvb
