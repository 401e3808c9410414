// TfrmSetupLoader: the small borderless window that says that Setup is starting while
// the temporary files are extracted and the package is read. It shows the program's
// bitmap resource "Loader" with two white lines of text over it, keeps the hourglass
// cursor, and refuses to close: it goes only when start-up destroys it.
#pragma once

#include <windows.h>

#include "startup/startup_form_win.h"

namespace kvb {

class TfrmSetupLoader final : public TStartupWindow {
 public:
  static constexpr char kWindowClass[] = "TfrmSetupLoader";
  static constexpr int kTitleId = 1;    // lblTitle
  static constexpr int kMessageId = 2;  // lblMessage

  // Creates the window at the look's position, owned by `owner`, and shows it painted.
  // The bitmap comes from `instance`'s resources; without it the form is plain dark blue.
  TfrmSetupLoader(HINSTANCE instance, HWND owner, const LoaderLook& look);

 private:
  void FormCreate(HINSTANCE instance, const LoaderLook& look);
  HWND CreateLabel(HINSTANCE instance, int id, const std::string& text, DWORD style, RECT bounds);
  void FormPaint();
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

  UniqueBitmap imlLoader_;
  UniqueFont font_;
  COLORREF text_color_ = RGB(255, 255, 255);
  HWND lblTitle_ = nullptr;
  HWND lblMessage_ = nullptr;
};

}  // namespace kvb
