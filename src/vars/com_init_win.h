// COM for the setup's thread: started once at start-up, ended when the owner goes.
#pragma once

#include <string>

namespace kvb {

class ComInitialization {
 public:
  ComInitialization() = default;
  ~ComInitialization();
  ComInitialization(ComInitialization&& other) noexcept : active_(other.active_) {
    other.active_ = false;
  }
  ComInitialization& operator=(ComInitialization&& other) noexcept;
  ComInitialization(const ComInitialization&) = delete;
  ComInitialization& operator=(const ComInitialization&) = delete;

  // CoInitialize on the calling thread. When it fails, the object is inactive and
  // `error` receives "CoInitialize failed (0x........)" with the result code; start-up
  // reports it and stops.
  static ComInitialization Start(std::string& error);

  bool Active() const { return active_; }

 private:
  bool active_ = false;
};

}  // namespace kvb
