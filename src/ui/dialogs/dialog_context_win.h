// What the fixed dialogs need from their caller: the window they belong to, the font,
// the application title for their message boxes, and the texts of the package's message
// table. The dialogs do not read the package themselves.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "setupdata/records.h"

namespace kvb {

// The expanded text of message `number` of the package's table; with
// `escape_ampersands` an `&` in the software or company name is doubled.
using MessageText = std::function<std::string(int number, bool escape_ampersands)>;

struct DialogContext {
  HWND Owner = nullptr;  // the window the dialog belongs to (its owner)
  TFontRecord Font;      // the dialog's font; Size 0 keeps the form's own
  std::string Title;     // the application title: caption of every message box
  // Shows a message box over `dialog` with an OK button and the MB_ICON... `icon`; tests
  // replace it. When unset, a message box with the title as caption.
  std::function<void(HWND dialog, const std::string& text, UINT icon)> ShowMessage;
};

// Shows `text` as the context says (see DialogContext::ShowMessage).
void ShowDialogMessage(const DialogContext& context,
                       HWND dialog,
                       const std::string& text,
                       UINT icon);

// The same context for a dialog opened over `dialog`.
DialogContext OverDialog(const DialogContext& context, HWND dialog);

}  // namespace kvb
