#include "ui/controls/combo_box_win.h"

#include <algorithm>

#include "ui/controls/list_items_win.h"

namespace kvb {

namespace {

// Room for about eight items when the list drops down; the combo box keeps this as the
// dropped height and shows only its edit part.
constexpr int kDroppedListHeight = 120;

DWORD ComboStyle(bool list_only) {
  return WS_CHILD | WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
         (list_only ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
}

}  // namespace

TComboBox::TComboBox(TWindow& parent, int left, int top, int width, int height, bool list_only)
    : list_only_(list_only) {
  if (CreateControlWindow({.ClassName = "COMBOBOX",
                           .Style = ComboStyle(list_only),
                           .Left = left,
                           .Top = top,
                           .Width = width,
                           .Height = height + kDroppedListHeight,
                           .Parent = &parent}))
    SetColor(kClWindow);
}

void TComboBox::SetListOnly(bool list_only) {
  if (list_only == list_only_)
    return;
  list_only_ = list_only;
  RECT bounds = BoundsRect();
  RecreateWindow((GetWindowLongA(Handle(), GWL_STYLE) & ~(CBS_DROPDOWN | CBS_DROPDOWNLIST)) |
                 ComboStyle(list_only));
  // The new window takes its dropped height from its size.
  SetBounds(bounds.left, bounds.top, bounds.right - bounds.left,
            bounds.bottom - bounds.top + kDroppedListHeight);
}

int TComboBox::Count() const {
  return static_cast<int>(SendMessageA(Handle(), CB_GETCOUNT, 0, 0));
}

std::string TComboBox::Item(int index) const {
  return ListItemText(Handle(), CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

int TComboBox::AddItem(const std::string& text) {
  return static_cast<int>(
      SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void TComboBox::Clear() {
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
}

std::vector<std::string> TComboBox::Items() const {
  std::vector<std::string> items;
  for (int i = 0; i < Count(); ++i)
    items.push_back(Item(i));
  return items;
}

void TComboBox::Sort() {
  std::vector<std::string> items = Items();
  const int selected = ItemIndex();
  const std::string selected_text = selected >= 0 ? items[selected] : std::string();
  const std::string text = Text();
  std::stable_sort(items.begin(), items.end(), ListOrderLess);
  Clear();
  for (const std::string& item : items)
    AddItem(item);
  if (selected >= 0)
    SetItemIndex(IndexOfExact(selected_text));
  else if (!list_only_)
    SetText(text);
}

int TComboBox::IndexOfExact(const std::string& text) const {
  for (int i = 0; i < Count(); ++i) {
    if (Item(i) == text)
      return i;
  }
  return -1;
}

int TComboBox::ItemIndex() const {
  return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
  SendMessageA(Handle(), CB_SETCURSEL, index, 0);
}

bool TComboBox::HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == WM_COMMAND) {
    if (HIWORD(wparam) == CBN_SELCHANGE && OnSelect)
      OnSelect(*this);
    else if (HIWORD(wparam) == CBN_EDITCHANGE && OnEditChange)
      OnEditChange(*this);
    result = 0;
    return true;
  }
  return TWindow::HandleNotification(message, wparam, lparam, result);
}

void TComboBox::SaveWindowState() {
  saved_items_ = Items();
  saved_index_ = ItemIndex();
  saved_text_ = Text();
}

void TComboBox::RestoreWindowState() {
  for (const std::string& item : saved_items_)
    AddItem(item);
  SetItemIndex(saved_index_);
  if (saved_index_ < 0 && !list_only_)
    SetText(saved_text_);
  saved_items_.clear();
}

}  // namespace kvb
