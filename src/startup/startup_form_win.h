// The common ground of the start-up windows: a top-level window of the program's own
// class that start-up holds as a StartupForm.
#pragma once

#include <windows.h>

#include <string>

#include "startup/startup_host.h"
#include "ui/base/graphics_win.h"
#include "ui/base/window_win.h"

namespace kvb {

class TStartupWindow : public TWindow, public StartupForm {
 protected:
  TStartupWindow() = default;

  struct WindowParams {
    const char* ClassName;
    LPCSTR Cursor;  // IDC_ value of the window class
    DWORD Style;
    std::string Caption;
    RECT Bounds;  // screen rectangle of the whole window
    HWND Owner;
    DWORD ExStyle = 0;
  };
  // Registers the class (once per process) and creates the window, hidden. False when
  // the window cannot be created.
  bool CreateFormWindow(const WindowParams& window);
  // Shows the window and paints it before returning.
  void ShowAndPaint();
};

}  // namespace kvb
