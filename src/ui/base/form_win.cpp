#include "ui/base/form_win.h"

#include <vector>

#include "ui/base/graphics_win.h"

namespace kvb {

namespace {

struct DisableSearch {
  HWND except;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowToDisable(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DisableSearch*>(data);
  if (window != search->except && IsWindowVisible(window) && IsWindowEnabled(window))
    search->found.push_back(window);
  return TRUE;
}

// The enabled, visible top-level windows of this thread other than `except`.
std::vector<HWND> ThreadWindowsToDisable(HWND except) {
  DisableSearch search{except, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectWindowToDisable,
                    reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct KeySearch {
  DialogKey key;
  TWindow* found;
};

BOOL CALLBACK FindKeyTarget(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<KeySearch*>(data);
  TWindow* control = TWindow::FromHandle(window);
  if (control && control->AnswersDialogKey(search->key) && IsWindowVisible(window) &&
      IsWindowEnabled(window)) {
    search->found = control;
    return FALSE;
  }
  return TRUE;
}

// The first descendant of `form`, in window order, whose object answers `key` and that
// is visible and enabled.
TWindow* DialogKeyTarget(HWND form, DialogKey key) {
  KeySearch search{key, nullptr};
  EnumChildWindows(form, FindKeyTarget, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

SIZE FrameSize(HWND window, int client_width, int client_height) {
  RECT frame = {0, 0, client_width, client_height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
  return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace

TForm* TForm::FormOf(const TWindow& window) {
  if (!window.Handle())
    return nullptr;
  return dynamic_cast<TForm*>(FromHandle(GetAncestor(window.Handle(), GA_ROOT)));
}

TForm::TForm(const FormParams& params) {
  // Made in its final size, centred on the screen.
  const DWORD style = params.Style & ~WS_VISIBLE;
  RECT frame = {0, 0, params.ClientWidth, params.ClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, params.ExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  if (!CreateOwnWindow({.ClassName = params.ClassName,
                        .Style = style,
                        .ExStyle = params.ExStyle,
                        .Text = params.Caption,
                        .Left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                        .Top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                        .Width = width,
                        .Height = height,
                        .ParentHandle = params.Owner,
                        .Cursor = params.Cursor})) {
    return;
  }
  SetFont(params.Font.Size == 0 ? DefaultFontRecord() : params.Font);
}

TForm::~TForm() = default;

void TForm::SetClientSize(int width, int height) {
  if (!Handle())
    return;
  const SIZE frame = FrameSize(Handle(), width, height);
  SetWindowPos(Handle(), nullptr, 0, 0, frame.cx, frame.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CenterOnScreen() {
  const int width = Width();
  const int height = Height();
  SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CenterOver(HWND window) {
  RECT r;
  if (!window || !GetWindowRect(window, &r)) {
    CenterOnScreen();
    return;
  }
  SetWindowPos(Handle(), nullptr, r.left + (r.right - r.left - Width()) / 2,
               r.top + (r.bottom - r.top - Height()) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TForm::ShowModal() {
  if (!Handle())
    return kMrCancel;
  const std::vector<HWND> disabled = ThreadWindowsToDisable(Handle());
  for (HWND window : disabled)
    EnableWindow(window, FALSE);
  modal_ = true;
  modal_result_ = kMrNone;
  ShowWindow(Handle(), SW_SHOW);
  // Painted at once, before the loop waits for the user.
  RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  SetActiveWindow(Handle());
  if (!IsChild(Handle(), GetFocus())) {
    if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE))
      ::SetFocus(first);
  }
  MSG msg;
  while (modal_result_ == kMrNone) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 1);
      modal_result_ = kMrCancel;
      break;
    }
    if (!TranslateFormMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // The other windows come back before this one hides, so that activation returns to
  // the owner and not to another program.
  for (HWND window : disabled)
    EnableWindow(window, TRUE);
  if (HWND owner = GetWindow(Handle(), GW_OWNER))
    SetActiveWindow(owner);
  ShowWindow(Handle(), SW_HIDE);
  modal_ = false;
  return modal_result_;
}

void TForm::Close() {
  if (Handle())
    SendMessageA(Handle(), WM_CLOSE, 0, 0);
}

bool TForm::PressDialogKey(DialogKey key) {
  HWND focus = GetFocus();
  if (key == DialogKey::kEnter && focus && IsChild(Handle(), focus) &&
      (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    SendMessageA(focus, BM_CLICK, 0, 0);
    return true;
  }
  if (TWindow* target = DialogKeyTarget(Handle(), key)) {
    target->Click();
    return true;
  }
  return false;
}

bool TForm::CloseQuery() {
  return !OnCloseQuery || OnCloseQuery(*this);
}

LRESULT TForm::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      if (CloseQuery()) {
        if (modal_)
          modal_result_ = kMrCancel;
        else
          Hide();
      }
      return 0;
    case DM_GETDEFID:
      // No default identifier: the dialog manager then sends IDOK, handled below.
      return 0;
    case WM_COMMAND:
      // Enter and Escape from the dialog manager (not a control's notification).
      if (lparam == 0 && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
        PressDialogKey(LOWORD(wparam) == IDOK ? DialogKey::kEnter : DialogKey::kEscape);
        return 0;
      }
      break;
  }
  return TWindow::WndProc(message, wparam, lparam);
}

bool TranslateFormMessage(MSG* msg) {
  if (!msg->hwnd || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
    return false;
  HWND root = GetAncestor(msg->hwnd, GA_ROOT);
  if (!dynamic_cast<TForm*>(TWindow::FromHandle(root)))
    return false;
  return IsDialogMessageA(root, msg);
}

}  // namespace kvb
