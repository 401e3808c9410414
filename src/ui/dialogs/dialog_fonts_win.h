// The font a fixed dialog starts with: the caller's, or Arial 8 as the forms are designed.
#pragma once

#include "setupdata/records.h"
#include "ui/base/graphics_win.h"
#include "ui/dialogs/dialog_context_win.h"

namespace kvb {

// Arial 8, as the forms are designed.
inline TFontRecord DesignedDialogFont() {
  return {"Arial", 8, kClWindowText, 0, 1};
}

// The context's font, else the designed one.
inline TFontRecord DialogFont(const DialogContext& context) {
  return context.Font.Size != 0 ? context.Font : DesignedDialogFont();
}

}  // namespace kvb
