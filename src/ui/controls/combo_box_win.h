// TComboBox: a drop-down combo box, either with an edit field the user types into or,
// list-only, a drop-down list (the style is fixed when the window is made, so changing it
// re-creates the window with its items, selection and text).
#pragma once

#include <string>
#include <vector>

#include "ui/base/window_win.h"

namespace kvb {

class TComboBox : public TWindow {
 public:
  TComboBox(TWindow& parent, int left, int top, int width, int height, bool list_only);

  bool ListOnly() const { return list_only_; }
  void SetListOnly(bool list_only);

  int Count() const;
  std::string Item(int index) const;
  // Appends an item; returns its index.
  int AddItem(const std::string& text);
  void Clear();
  // Sorts the items (case-insensitive, as list boxes sort), keeping the selected item.
  void Sort();
  // The index of the item whose text equals `text` exactly, or -1.
  int IndexOfExact(const std::string& text) const;
  int ItemIndex() const;
  // Selects an item (-1: none). Does not raise OnSelect.
  void SetItemIndex(int index);

  // The user picked an item from the list.
  NotifyEvent OnSelect;
  // The user edited the text (only combo boxes with an edit field).
  NotifyEvent OnEditChange;

 protected:
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
  void SaveWindowState() override;
  void RestoreWindowState() override;

 private:
  std::vector<std::string> Items() const;

  bool list_only_;
  std::vector<std::string> saved_items_;
  int saved_index_ = -1;
  std::string saved_text_;
};

}  // namespace kvb
