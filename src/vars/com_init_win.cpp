#include "vars/com_init_win.h"

#include <objbase.h>
#include <windows.h>

#include <cstdio>

namespace kvb {

ComInitialization::~ComInitialization() {
  if (active_)
    CoUninitialize();
}

ComInitialization& ComInitialization::operator=(ComInitialization&& other) noexcept {
  if (this != &other) {
    if (active_)
      CoUninitialize();
    active_ = other.active_;
    other.active_ = false;
  }
  return *this;
}

ComInitialization ComInitialization::Start(std::string& error) {
  ComInitialization com;
  const HRESULT hr = CoInitialize(nullptr);
  if (FAILED(hr)) {
    char text[64];
    std::snprintf(text, sizeof(text), "CoInitialize failed (0x%.8x)", static_cast<unsigned>(hr));
    error = text;
    return com;
  }
  // S_FALSE (already initialised on this thread) needs its CoUninitialize too.
  com.active_ = true;
  return com;
}

}  // namespace kvb
