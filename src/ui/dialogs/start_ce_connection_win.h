// TfrmStartCEConnection: the small window that says the setup is waiting for a Windows
// CE device to connect. It keeps the hourglass cursor and refuses to close; it goes only
// when ShowConnectionWait(false) frees it.
#pragma once

#include <optional>
#include <string>

#include "setupdata/records.h"
#include "ui/base/form_win.h"

namespace kvb {

class TLabel;

class TfrmStartCEConnection : public TForm {
 public:
  static constexpr char kWindowClass[] = "TfrmStartCEConnection";
  TfrmStartCEConnection(HWND owner, const std::string& caption, const std::string& message);
  // The form's font; the message takes it in bold.
  void SetFont(const TFontRecord& font) override;

 protected:
  bool CloseQuery() override { return false; }

 private:
  TLabel* label_ = nullptr;
};

struct ConnectionWaitLook {
  HWND Application = nullptr;       // owner when no form of the program is active
  std::optional<TFontRecord> Font;  // the package font, unless the default is kept
  std::string Caption;              // the expanded software name
  std::string Message;              // message 61, expanded with escaped ampersands
};

// Show: sets the hourglass cursor and shows the wait window, owned by the active window
// of the program (else `look.Application`), painted before returning; its message is
// bold. Hide: frees the window and restores the cursor. Showing while it is shown, or
// hiding while it is hidden, does nothing.
void ShowConnectionWait(bool show, const ConnectionWaitLook& look = ConnectionWaitLook());

// The wait window while it is shown (for tests), else null.
TfrmStartCEConnection* ConnectionWaitWindow();

}  // namespace kvb
