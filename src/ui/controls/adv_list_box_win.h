// TAdvPSListBox: the list box of the pages: every item has an object (check state,
// picture, size, enabled flag, name, lock; adv_list_items.h) and, with owner drawing, is
// drawn with a check box (themed where the desktop is, classic otherwise), a picture of
// the image list and its size right-aligned. The user toggles an item with the space bar
// or a click in its check box area; a locked or disabled item does not change, and the
// item-state-change query may veto.
//
// The Windows list box is always owner-drawn with strings (so the texts stay readable
// to tools and screen readers); without CustomDraw the items are drawn as plain text 2
// pixels from the left. MultiSelect is a window style: changing it re-creates the window
// with its items.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/base/window_win.h"
#include "ui/controls/adv_list_items.h"

namespace kvb {

class TImageList;

class TAdvPSListBox : public TWindow {
 public:
  TAdvPSListBox(TWindow& parent, int left, int top, int width, int height);
  ~TAdvPSListBox() override;

  // --- options; each repaints, and those that change the item height recompute it ---
  TImageList* ImageList() const { return image_list_; }
  void SetImageList(TImageList* list);  // not owned; null for none
  bool Flat() const { return flat_; }   // check boxes drawn flat (default on)
  void SetFlat(bool flat);
  bool CustomDraw() const { return custom_draw_; }  // owner drawing of checks, pictures, sizes
  void SetCustomDraw(bool custom_draw);
  bool ShowChecks() const { return show_checks_; }
  void SetShowChecks(bool show);
  bool ShowFileSize() const { return show_file_size_; }
  void SetShowFileSize(bool show);
  bool ShowImages() const { return show_images_; }
  void SetShowImages(bool show);
  bool FullItemSelect() const { return full_item_select_; }  // highlight covers the check box
  void SetFullItemSelect(bool full);
  bool ShowDisabledChecks() const { return show_disabled_checks_; }  // default on
  void SetShowDisabledChecks(bool show);
  bool AllowGrayed() const { return allow_grayed_; }  // toggling may lead to grayed
  void SetAllowGrayed(bool allow) { allow_grayed_ = allow; }
  bool Sorted() const { return sorted_; }  // new items go to their sorted place
  void SetSorted(bool sorted);
  bool MultiSelect() const { return multi_select_; }
  void SetMultiSelect(bool multi_select);
  // The check box size: the platform's (13 x 13) until set.
  SIZE CheckBoxSize() const { return check_size_; }
  void SetCheckBoxSize(SIZE size);
  int ItemHeight() const;
  // Also recomputes the item height.
  void SetFont(const TFontRecord& font) override;

  // --- items ---
  // Adds an item (at its sorted place when Sorted) and returns its index.
  int AddItem(const std::string& text,
              CheckState state = CheckState::kUnchecked,
              bool enabled = true,
              const std::string& name = "",
              uint32_t size = 0,
              int picture_index = -1);
  int Count() const;
  std::string ItemText(int index) const;
  void DeleteItem(int index);
  void Clear();
  // Sorts the items by text (case-insensitive), objects travelling with their items.
  void Sort();
  // The item objects, in item order (a copy).
  std::vector<TAdvListItem> Items() const;

  // Item properties; setting them repaints the item, raises no event and asks nothing.
  // Out-of-range indexes read as a default item and are not set.
  CheckState State(int index) const;
  void SetState(int index, CheckState state);
  bool Checked(int index) const { return State(index) == CheckState::kChecked; }
  int PictureIndex(int index) const;
  void SetPictureIndex(int index, int picture);
  uint32_t Size(int index) const;
  void SetSize(int index, uint32_t size);
  bool ItemEnabledFlag(int index) const;  // the stored flag
  void SetItemEnabled(int index, bool enabled);
  std::string ItemName(int index) const;
  void SetItemName(int index, const std::string& name);
  bool Locked(int index) const;
  void SetLocked(int index, bool locked);
  // Whether the item is enabled by the list's rule (adv_list_items.h), asking the
  // item-size query when sizes and check boxes are shown.
  bool IsItemEnabled(int index) const;
  // The item's size as shown: the item-size query's answer, else the stored size.
  uint32_t ShownSize(int index) const;

  // Check marks from a `|` list of names (case-insensitive) and back, in item order.
  void SetCheckedNames(const std::string& names);
  std::string CheckedNames() const;

  // --- selection ---
  int ItemIndex() const;  // the selected (focused) item, -1 for none
  void SetItemIndex(int index);
  bool Selected(int index) const;
  void SetSelected(int index, bool selected);
  void SelectAll();    // multi-select lists only
  void DeselectAll();  // every list

  // --- events ---
  // After a user toggle, when sizes are shown; also when drawing forces a disabled item
  // unchecked.
  std::function<void(TAdvPSListBox& sender, int index)> OnItemCheckChanged;
  // Before a user toggle stores `new_state`; false vetoes it.
  std::function<bool(TAdvPSListBox& sender, int index, CheckState new_state)> OnItemStateChange;
  // The size of the item named `name`, in bytes; the stored size when unset.
  std::function<uint32_t(TAdvPSListBox& sender, const std::string& name)> OnItemSize;
  // After a toggle by a click in the check box area.
  std::function<void(TAdvPSListBox& sender, int index)> OnCheckClick;
  // The user changed the selection.
  NotifyEvent OnClick;
  NotifyEvent OnDblClick;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
  void SaveWindowState() override;
  void RestoreWindowState() override;
  // Toggles the item as the user does; returns true when its state changed.
  bool ToggleItem(int index, bool by_mouse);

 private:
  TAdvListItem* ItemObject(int index) const;
  // The item's object, or a default item for an index out of range or without one.
  const TAdvListItem& ItemOrDefault(int index) const;
  TAdvListItem& EnsureItem(int index);
  void FreeObject(int index);
  int SortedPosition(const std::string& text) const;
  void DrawCheckBoxClassic(HDC dc, const RECT& box, CheckState state, bool enabled) const;
  void UpdateItemHeight();
  void RepaintItem(int index);
  void DrawItem(const DRAWITEMSTRUCT& draw);
  void DrawCheckBox(HDC dc, const RECT& item, int index, bool enabled);
  DWORD WindowStyle() const;

  TImageList* image_list_ = nullptr;
  bool flat_ = true;
  bool custom_draw_ = false;
  bool show_checks_ = false;
  bool show_file_size_ = false;
  bool show_images_ = false;
  bool full_item_select_ = false;
  bool show_disabled_checks_ = true;
  bool allow_grayed_ = false;
  bool sorted_ = false;
  bool multi_select_ = false;
  SIZE check_size_ = {13, 13};
  // Item objects live here; the list box's item data points at them.
  std::vector<std::unique_ptr<TAdvListItem>> objects_;
  struct SavedItem {
    std::string Text;
    TAdvListItem* Object;
    bool Selected;
  };
  std::vector<SavedItem> saved_;
  int saved_index_ = -1;
};

}  // namespace kvb
