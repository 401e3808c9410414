// The application object of the setup program: a hidden top-level window that carries
// the application title and owns the program's message boxes, as the main form will.
#pragma once

#include <windows.h>

#include <string>

#include "startup/startup_host.h"

namespace kvb {

class TApplication {
 public:
  // Registers the window class and creates the hidden window. Handle() is null when the
  // window cannot be created; message boxes then have no owner.
  explicit TApplication(HINSTANCE instance);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  HWND Handle() const { return window_; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);

  // Modal message box: the title as caption, an OK button and the icon; owned by the
  // application window.
  void ShowMessage(const std::string& text, MessageIcon icon) const;

  static constexpr char kWindowClass[] = "KvbSetupApplication";

 private:
  HINSTANCE instance_;
  HWND window_ = nullptr;
  std::string title_;
};

}  // namespace kvb
