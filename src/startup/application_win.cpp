#include "startup/application_win.h"

#include "base/message_icon_win.h"

namespace kvb {

TApplication::TApplication(HINSTANCE instance) : instance_(instance) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = instance;
  window_class.lpszClassName = kWindowClass;
  RegisterClassA(&window_class);
  // A popup that is never shown: it exists to own the message boxes and to carry the title.
  window_ = CreateWindowExA(0, kWindowClass, "", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0,
                            nullptr, nullptr, instance, nullptr);
}

TApplication::~TApplication() {
  if (window_)
    DestroyWindow(window_);
  UnregisterClassA(kWindowClass, instance_);
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (window_)
    SetWindowTextA(window_, title.c_str());
}

void TApplication::ShowMessage(const std::string& text, MessageIcon icon) const {
  MessageBoxA(window_, text.c_str(), title_.c_str(), MB_OK | MessageBoxIconFlag(icon));
}

}  // namespace kvb
