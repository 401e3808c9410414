// Move-only owner of a kernel handle (event, file, thread ...), closed in the destructor.
#pragma once

#include <windows.h>

#include <utility>

namespace kvb {

class UniqueHandle {
 public:
  UniqueHandle() = default;
  // Takes ownership; null and INVALID_HANDLE_VALUE both mean "no handle".
  explicit UniqueHandle(HANDLE handle)
      : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Close(); }

  bool Valid() const { return handle_ != nullptr; }
  HANDLE Get() const { return handle_; }
  // Closes the handle now; false when closing failed (for files: data may not be written).
  bool Close() {
    if (!handle_)
      return true;
    return CloseHandle(std::exchange(handle_, nullptr)) != FALSE;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace kvb
