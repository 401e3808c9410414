// TForm: a top-level window of the program (the wizard, its dialogs, the background
// window). It has a client size, a caption and a font its controls take over, can be
// centred, and can run modally until a modal result is set. Enter and Escape press the
// visible, enabled default and cancel buttons anywhere on the form (a focused push button
// takes Enter itself); Tab moves between the controls, also into panels.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "setupdata/records.h"
#include "ui/base/modal_result.h"
#include "ui/base/window_win.h"

namespace kvb {

// Window styles of a fixed-size dialog and of a form with a sizing border.
constexpr DWORD kDialogFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

class TForm : public TWindow {
 public:
  struct FormParams {
    const char* ClassName = "TForm";  // window class, also how tests and the driver find it
    std::string Caption = {};
    int ClientWidth = 0;
    int ClientHeight = 0;
    DWORD Style = kDialogFormStyle;
    DWORD ExStyle = kDialogFormExStyle;
    HWND Owner = nullptr;      // the owning top-level window, or none
    TFontRecord Font = {};     // the system's dialog font when Size is 0
    HCURSOR Cursor = nullptr;  // the arrow when null
  };

  // The form the window sits on (its top-level ancestor), or null.
  static TForm* FormOf(const TWindow& window);

  // Creates the form hidden, centred on the screen.
  explicit TForm(const FormParams& params);
  ~TForm() override;

  void SetCaption(const std::string& caption) { SetText(caption); }
  void SetClientSize(int width, int height);
  // Centres the form on the screen (halves rounded towards zero).
  void CenterOnScreen();
  // Centres the form over another window's rectangle.
  void CenterOver(HWND window);

  // Shows the form and runs a message loop until the modal result is set (by a button
  // with a modal result, SetModalResult, or closing: Cancel); the other windows of the
  // program are disabled meanwhile. Hides the form again and returns the result. A quit
  // message ends the loop with Cancel and is posted again for the outer loop.
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int result) { modal_result_ = result; }

  // Asks the form to close, as the close box does: CloseQuery decides; a modal form then
  // ends with Cancel, any other form hides.
  void Close();

  // Called when the form is asked to close; false keeps it open. All by default.
  std::function<bool(TForm&)> OnCloseQuery;

  // Hands Enter or Escape to the form: a focused push button takes Enter; otherwise the
  // first visible, enabled control answering the key (default or cancel button) is
  // clicked. False when no control took it.
  bool PressDialogKey(DialogKey key);

 protected:
  virtual bool CloseQuery();
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  bool modal_ = false;
  int modal_result_ = kMrNone;
};

// Keyboard navigation for the form holding the message's window (Tab, arrows, Enter,
// Escape, mnemonics): true when the message was handled and must not be dispatched. Every
// message loop of the program passes its messages through it.
bool TranslateFormMessage(MSG* msg);

}  // namespace kvb
