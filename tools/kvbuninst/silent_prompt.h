// The message boxes of the log's scripts in a silent run: none is shown; each is answered
// with its first button, as if the user had pressed Enter on a box whose default button is
// the first.
#pragma once

#include <cstdint>
#include <string>

#include "script/script_services.h"

namespace kvb {

// The first button's result (IDOK, IDABORT, IDYES, IDRETRY ...) of a message box style.
int FirstButtonResult(uint32_t style);

class SilentScriptPrompt final : public ScriptPrompt {
 public:
  int ShowMessage(const std::string& caption, const std::string& text, uint32_t style) override {
    return FirstButtonResult(style);
  }
};

}  // namespace kvb
