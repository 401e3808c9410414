#include "ui/dialogs/dialog_context_win.h"

namespace kvb {

void ShowDialogMessage(const DialogContext& context,
                       HWND dialog,
                       const std::string& text,
                       UINT icon) {
  if (context.ShowMessage) {
    context.ShowMessage(dialog, text, icon);
    return;
  }
  MessageBoxA(dialog, text.c_str(), context.Title.c_str(), MB_OK | icon);
}

DialogContext OverDialog(const DialogContext& context, HWND dialog) {
  DialogContext over = context;
  over.Owner = dialog;
  return over;
}

}  // namespace kvb
