// TOpaqueFrame: a group frame around its client area with a caption in its own font over
// the top line. With Ctl3D the frame is a shadow line and a highlight line, otherwise the
// window-frame colour; the caption's background is filled so the line does not run
// through the text; a disabled frame draws its caption embossed. It is a group box for
// accessibility and lets clicks through to the controls inside it; it stays below its
// sibling controls so that it never hides them.
#pragma once

#include <string>

#include "setupdata/records.h"
#include "ui/base/window_win.h"

namespace kvb {

class TOpaqueFrame : public TWindow {
 public:
  // 100 x 100 when width or height is 0.
  TOpaqueFrame(TWindow& parent,
               int left,
               int top,
               int width,
               int height,
               const std::string& caption);

  // The caption's font, at first a copy of the parent's font.
  const TFontRecord& CaptionFont() const { return Font(); }
  void SetCaptionFont(const TFontRecord& font) { SetFont(font); }
  bool Ctl3D() const { return ctl3d_; }
  void SetCtl3D(bool ctl3d);
  void SetEnabled(bool enabled) override;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint(HDC dc);
  bool ctl3d_ = true;
};

}  // namespace kvb
