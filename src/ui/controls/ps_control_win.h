// TPSControl: what every control built from a page's control record carries besides its
// window: its own copy of the record (script included), which also gives the control's
// role and bound variable. The controls know nothing of pages or the wizard; the builder
// and the binding read this to tie them to variables and scripts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "setupdata/records.h"

namespace kvb {

// Turns a picture file name of the package into the full path to load.
using PictureResolver = std::function<std::string(const std::string& file_name)>;

class TPSControl {
 public:
  virtual ~TPSControl() = default;

  const TSetupControl& Record() const { return record_; }
  // The record's role (0 an ordinary control) and bound variable ("%Name%" or empty).
  uint8_t Role() const { return record_.Role; }
  const std::string& Variable() const { return record_.Variable; }

 protected:
  explicit TPSControl(TSetupControl record) : record_(std::move(record)) {}

 private:
  TSetupControl record_;
};

}  // namespace kvb
