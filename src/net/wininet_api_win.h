// The functions of wininet.dll that the transport calls. The library is loaded at run time
// from the system folder (never imported, never searched for by name), once per transport,
// and shared with the exchange threads, which may outlive the transport.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <utility>

#include "base/system_library_win.h"

namespace kvb {

struct WinInetApi {
  // Null when wininet.dll is missing or lacks one of the functions.
  static std::shared_ptr<const WinInetApi> Load();

  SystemLibrary Library;
  decltype(&InternetOpenA) Open = nullptr;
  decltype(&InternetCrackUrlA) CrackUrl = nullptr;
  decltype(&InternetConnectA) Connect = nullptr;
  decltype(&InternetSetOptionA) SetOption = nullptr;
  decltype(&HttpOpenRequestA) OpenRequest = nullptr;
  decltype(&HttpSendRequestA) SendRequest = nullptr;
  decltype(&HttpQueryInfoA) QueryInfo = nullptr;
  decltype(&InternetQueryDataAvailable) QueryDataAvailable = nullptr;
  decltype(&InternetReadFile) Read = nullptr;
  decltype(&InternetCloseHandle) Close = nullptr;
};

// Move-only owner of a WinINet handle. Used only on the thread that made the handle: a
// handle is never closed from another thread, so no call can meet a handle value that was
// closed (and perhaps given out again) under it.
class InternetHandle {
 public:
  InternetHandle() = default;
  InternetHandle(const WinInetApi& api, HINTERNET handle) : api_(&api), handle_(handle) {}
  InternetHandle(InternetHandle&& other) noexcept
      : api_(other.api_), handle_(std::exchange(other.handle_, nullptr)) {}
  InternetHandle& operator=(InternetHandle&& other) noexcept {
    if (this != &other) {
      Close();
      api_ = other.api_;
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  ~InternetHandle() { Close(); }

  explicit operator bool() const { return handle_ != nullptr; }
  HINTERNET Get() const { return handle_; }

 private:
  void Close() {
    if (handle_)
      api_->Close(std::exchange(handle_, nullptr));
  }

  const WinInetApi* api_ = nullptr;
  HINTERNET handle_ = nullptr;
};

}  // namespace kvb
