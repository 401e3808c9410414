// The font a fixed dialog starts with: the caller's, or Arial 8 as the forms are designed.
#pragma once

#include "setupdata/records.h"
#include "ui/base/graphics_win.h"
#include "ui/dialogs/dialog_context_win.h"

namespace kvb {

inline TFontRecord DialogFont(const DialogContext& context) {
  if (context.Font.Size != 0)
    return context.Font;
  return {"Arial", 8, kClWindowText, 0, 1};
}

}  // namespace kvb
