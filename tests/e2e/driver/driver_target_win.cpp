// A small window for the driver's own tests: a button that opens a message box, an edit
// box behind a label, check boxes, a list box, a combo box, a disabled button, and a
// status line that shows what the program has been told by its controls' notifications.
// "Done" ends the program with exit code 7. An optional argument delays the window by
// that many milliseconds, so the driver's waits have something to wait for.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

enum ControlId {
  kHello = 201,
  kName = 202,
  kRemember = 203,
  kList = 204,
  kCombo = 205,
  kStatus = 206,
  kDone = 207,
  kLocked = 208,
  kMaybe = 209,
};

HWND Make(HWND parent, const char* cls, const char* text, DWORD style, int id, int y, int h = 24) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, y, 300, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

std::string Text(HWND control) {
  char buffer[256] = {};
  GetWindowTextA(control, buffer, sizeof(buffer));
  return buffer;
}

std::string Selected(HWND list, UINT get_current, UINT get_text) {
  const LRESULT index = SendMessageA(list, get_current, 0, 0);
  if (index < 0)
    return "";
  char buffer[256] = {};
  SendMessageA(list, get_text, index, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

void UpdateStatus(HWND window) {
  auto item = [&](int id) { return GetDlgItem(window, id); };
  const std::string status =
      "name=" + Text(item(kName)) +
      " remember=" + std::to_string(SendMessageA(item(kRemember), BM_GETCHECK, 0, 0)) +
      " maybe=" + std::to_string(SendMessageA(item(kMaybe), BM_GETCHECK, 0, 0)) +
      " list=" + Selected(item(kList), LB_GETCURSEL, LB_GETTEXT) +
      " combo=" + Selected(item(kCombo), CB_GETCURSEL, CB_GETLBTEXT);
  SetWindowTextA(item(kStatus), status.c_str());
}

void CreateControls(HWND w) {
  Make(w, "Button", "Say &hello", BS_PUSHBUTTON, kHello, 10);
  Make(w, "Static", "Name:", 0, 0, 40);
  Make(w, "Edit", "", WS_BORDER | ES_AUTOHSCROLL, kName, 65);
  Make(w, "Button", "Remember me", BS_AUTOCHECKBOX, kRemember, 95);
  Make(w, "Button", "Maybe", BS_AUTO3STATE, kMaybe, 120);
  HWND list = Make(w, "ListBox", "", WS_BORDER | LBS_NOTIFY, kList, 150, 60);
  HWND combo = Make(w, "ComboBox", "", CBS_DROPDOWNLIST, kCombo, 215, 100);
  for (const char* item : {"alpha", "beta", "gamma"})
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  for (const char* item : {"one", "two", "three"})
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  Make(w, "Static", "", 0, kStatus, 250);
  Make(w, "Button", "Done", BS_PUSHBUTTON, kDone, 280);
  EnableWindow(Make(w, "Button", "Locked", BS_PUSHBUTTON, kLocked, 310), FALSE);
  UpdateStatus(w);
}

LRESULT CALLBACK WindowProc(HWND w, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      CreateControls(w);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == kHello && HIWORD(wparam) == BN_CLICKED) {
        MessageBoxA(w, "Hello from target", "Driver Target", MB_OK | MB_ICONINFORMATION);
      } else if (LOWORD(wparam) == kDone) {
        DestroyWindow(w);
      } else if (LOWORD(wparam) != kStatus) {
        UpdateStatus(w);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(7);
      return 0;
  }
  return DefWindowProcA(w, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
  if (const int delay = std::atoi(command_line); delay > 0)
    Sleep(delay);
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = "KvbDriverTarget";
  RegisterClassA(&window_class);
  CreateWindowExA(0, "KvbDriverTarget", "Driver Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                  340, 380, nullptr, nullptr, instance, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
