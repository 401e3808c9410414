#include "ui/controls/ps_list_controls_win.h"

namespace kvb {

TPSListBox::TPSListBox(TWindow& parent, TSetupControl record)
    : TAdvPSListBox(parent, record.Left, record.Top, record.Width, record.Height),
      TPSControl(std::move(record)) {}

void TPSListBox::SetValue(const std::string& value) {
  int found = -1;
  for (int i = 0; i < Count() && found < 0; ++i) {
    if (ItemText(i) == value)
      found = i;
  }
  if (MultiSelect())
    DeselectAll();
  SetItemIndex(found);
  if (MultiSelect() && found >= 0)
    SetSelected(found, true);
  if (OnValueChange)
    OnValueChange(*this);
}

std::string TPSListBox::Value() const {
  const int index = ItemIndex();
  return index >= 0 ? ItemText(index) : std::string();
}

bool TPSListBox::HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  const bool handled = TAdvPSListBox::HandleNotification(message, wparam, lparam, result);
  if (message == WM_COMMAND && HIWORD(wparam) == LBN_SELCHANGE && OnValueChange)
    OnValueChange(*this);
  return handled;
}

TPSComboBox::TPSComboBox(TWindow& parent, TSetupControl record)
    : TComboBox(parent, record.Left, record.Top, record.Width, record.Height, false),
      TPSControl(std::move(record)) {
  SetText(" ");
}

void TPSComboBox::SetValue(const std::string& value) {
  SetItemIndex(IndexOfExact(value));
  if (!ListOnly())
    SetText(value);
  ValueChanged();
}

std::string TPSComboBox::Value() const {
  if (!ListOnly())
    return Text();
  const int index = ItemIndex();
  return index >= 0 ? Item(index) : std::string();
}

void TPSComboBox::ValueChanged() {
  if (OnValueChange)
    OnValueChange(*this);
}

bool TPSComboBox::HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  const bool handled = TComboBox::HandleNotification(message, wparam, lparam, result);
  if (message != WM_COMMAND)
    return handled;
  if (HIWORD(wparam) == CBN_SELCHANGE) {
    // The edit field shows the picked item only after this notification: put it there
    // now, so that the value is the item.
    const int index = ItemIndex();
    if (!ListOnly() && index >= 0)
      SetText(Item(index));
    ValueChanged();
  } else if (HIWORD(wparam) == CBN_EDITCHANGE) {
    ValueChanged();
  }
  return handled;
}

TPSLicense::TPSLicense(TWindow& parent, TSetupControl record)
    : TRichEditViewer(parent, record.Left, record.Top, record.Width, record.Height),
      TPSControl(std::move(record)) {}

TPSNotDeletedList::TPSNotDeletedList(TWindow& parent, TSetupControl record)
    : TMemo(parent, record.Left, record.Top, record.Width, record.Height),
      TPSControl(std::move(record)) {}

TPSMemoList::TPSMemoList(TWindow& parent, TSetupControl record)
    : TMemo(parent, record.Left, record.Top, record.Width, record.Height),
      TPSControl(std::move(record)) {}

TPSDirList::TPSDirList(TWindow& parent, TSetupControl record)
    : TNewDirectoryListBox(parent, record.Left, record.Top, record.Width, record.Height),
      TPSControl(std::move(record)) {}

TPSDriveCombo::TPSDriveCombo(TWindow& parent, TSetupControl record)
    : TNewDriveComboBox(parent, record.Left, record.Top, record.Width, record.Height),
      TPSControl(std::move(record)) {}

}  // namespace kvb
