// TfrmSplashBitmapForm: the package's splash bitmap in a borderless window that stays on
// top, centred on the screen, shown for a moment while start-up reads the package.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "startup/startup_form_win.h"

namespace kvb {

class TfrmSplashBitmapForm final : public TStartupWindow {
 public:
  static constexpr char kWindowClass[] = "TfrmSplashBitmapForm";

  // Loads the bitmap file and shows it, painted, in a window of the bitmap's size with
  // `caption` as its (unseen) text, centred on `screen`, owned by `owner`. nullptr when
  // the file cannot be loaded as a bitmap or the window cannot be created.
  static std::unique_ptr<TfrmSplashBitmapForm> Show(HINSTANCE instance,
                                                    HWND owner,
                                                    const std::string& bitmap_file,
                                                    const std::string& caption,
                                                    ScreenSize screen);

 private:
  explicit TfrmSplashBitmapForm(UniqueBitmap bitmap) : imgSplash_(std::move(bitmap)) {}
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

  UniqueBitmap imgSplash_;
};

}  // namespace kvb
