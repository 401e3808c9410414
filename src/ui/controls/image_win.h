// TImage: a picture on its parent: a bitmap (drawn at the top-left corner or stretched to
// the client area, optionally transparent, its bottom-left pixel giving the transparent
// colour) or an icon (drawn centred). The background is filled with the image's colour
// unless it is transparent; then the parent's background shows.
#pragma once

#include <windows.h>

#include "ui/base/gdi_object_win.h"
#include "ui/base/window_win.h"

namespace kvb {

class TImage : public TWindow {
 public:
  TImage(TWindow& parent, int left, int top, int width, int height);
  ~TImage() override;

  // Takes the bitmap; an empty one clears the picture.
  void SetPicture(UniqueBitmap bitmap);
  HBITMAP Picture() const { return picture_.Get(); }
  bool HasPicture() const { return picture_ || icon_; }
  // Shows an icon instead of a bitmap; the image destroys it when `owned`.
  void SetIcon(HICON icon, bool owned);
  HICON Icon() const { return icon_; }
  void ClearPicture();

  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

  // A click on the picture.
  NotifyEvent OnClick;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
  // Draws background and picture; TPSImage adds its border.
  virtual void Paint(HDC dc);
  void PaintPicture(HDC dc, const RECT& area);

 private:
  void DestroyIcon();

  UniqueBitmap picture_;
  HICON icon_ = nullptr;
  bool icon_owned_ = false;
  bool stretch_ = false;
  bool transparent_ = false;
};

// Draws `bitmap` into `dest`, stretched to it or at its top-left corner in its own size;
// with `transparent`, the pixels of the bitmap's bottom-left colour are left out.
void DrawPicture(HDC dc, HBITMAP bitmap, const RECT& dest, bool stretch, bool transparent);

}  // namespace kvb
