#include "tools/driver/controls_win.h"

#include <algorithm>

#include "base/text.h"

namespace kvb::driver {
namespace {

constexpr UINT kSendTimeoutMs = 2000;
constexpr size_t kMaxTextLength = 1 << 20;

// Sends a message that returns at once; false when the target does not answer in time.
bool Ask(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, DWORD_PTR& result) {
  return SendMessageTimeoutA(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result) != 0;
}

// Text-reading messages go through the wide interface: Wine hands list texts of another
// process to an ANSI caller in UTF-16. The result is converted to the ANSI code page.
// `length_message` gives the length in characters, `text_message` copies the text.
std::string AskText(HWND hwnd,
                    UINT length_message,
                    UINT text_message,
                    WPARAM item,
                    bool item_text) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, length_message, item, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &length) ||
      static_cast<LONG_PTR>(length) < 0)
    return {};
  length = std::min<DWORD_PTR>(length, kMaxTextLength);
  std::wstring wide(length + 1, L'\0');
  DWORD_PTR copied = 0;
  const WPARAM wparam = item_text ? item : length + 1;
  if (!SendMessageTimeoutW(hwnd, text_message, wparam, reinterpret_cast<LPARAM>(wide.data()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied) ||
      static_cast<LONG_PTR>(copied) < 0)
    return {};
  wide.resize(std::min<DWORD_PTR>(copied, length));
  if (wide.empty())
    return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string text(size > 0 ? size : 0, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                      nullptr, nullptr);
  return text;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  const int length = GetClassNameA(hwnd, name, sizeof(name));
  return std::string(name, length > 0 ? length : 0);
}

bool KeepsStrings(HWND control, bool combo) {
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  const LONG owner_draw = combo ? (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)
                                : (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
  const LONG has_strings = combo ? CBS_HASSTRINGS : LBS_HASSTRINGS;
  return !(style & owner_draw) || (style & has_strings);
}

// Messages of the two list kinds, so one routine reads both.
struct ListMessages {
  UINT count, text_length, text, current;
};
constexpr ListMessages kListBox{LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_GETCURSEL};
constexpr ListMessages kComboBox{CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETCURSEL};

bool IsMultiSelect(HWND list) {
  return (GetWindowLongA(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

}  // namespace

std::string ControlText(HWND control) {
  return AskText(control, WM_GETTEXTLENGTH, WM_GETTEXT, 0, false);
}

int CheckState(HWND button) {
  DWORD_PTR state = BST_UNCHECKED;
  return Ask(button, BM_GETCHECK, 0, 0, state) ? static_cast<int>(state) : BST_UNCHECKED;
}

std::vector<ListItem> ListItems(HWND control) {
  const std::string cls = ClassOf(control);
  const bool combo = SameText(cls, "ComboBox");
  if ((!combo && !SameText(cls, "ListBox")) || !KeepsStrings(control, combo))
    return {};
  const ListMessages& m = combo ? kComboBox : kListBox;
  DWORD_PTR count = 0, current = static_cast<DWORD_PTR>(-1);
  if (!Ask(control, m.count, 0, 0, count) || count > 100000)
    return {};
  Ask(control, m.current, 0, 0, current);
  const bool multi = !combo && IsMultiSelect(control);
  std::vector<ListItem> items;
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD_PTR selected = 0;
    if (multi)
      Ask(control, LB_GETSEL, i, 0, selected);
    items.push_back({AskText(control, m.text_length, m.text, i, true),
                     multi ? static_cast<LONG_PTR>(selected) > 0 : i == current});
  }
  return items;
}

bool PostClick(HWND control) {
  if (SameText(ClassOf(control), "Button"))
    return PostMessageA(control, BM_CLICK, 0, 0) != 0;
  RECT client{};
  GetClientRect(control, &client);
  const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
  return PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, middle) &&
         PostMessageA(control, WM_LBUTTONUP, 0, middle);
}

bool SetControlText(HWND control, const std::string& text) {
  DWORD_PTR result = 0;
  return Ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), result) && result != 0;
}

bool SelectListItem(HWND control, int index) {
  const bool combo = SameText(ClassOf(control), "ComboBox");
  DWORD_PTR result = 0;
  bool ok;
  if (combo) {
    ok = Ask(control, CB_SETCURSEL, index, 0, result) && static_cast<int>(result) == index;
  } else if (IsMultiSelect(control)) {
    ok = Ask(control, LB_SETSEL, TRUE, index, result) && static_cast<LONG_PTR>(result) != LB_ERR;
  } else {
    ok = Ask(control, LB_SETCURSEL, index, 0, result) && static_cast<int>(result) == index;
  }
  if (!ok)
    return false;
  const WORD code = combo ? CBN_SELCHANGE : LBN_SELCHANGE;
  return PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                      reinterpret_cast<LPARAM>(control)) != 0;
}

}  // namespace kvb::driver
