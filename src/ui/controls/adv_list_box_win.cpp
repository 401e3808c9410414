#include "ui/controls/adv_list_box_win.h"

#include <algorithm>

#include "ui/base/graphics_win.h"
#include "ui/controls/image_list_win.h"
#include "ui/controls/list_items_win.h"

namespace kvb {

TAdvPSListBox::TAdvPSListBox(TWindow& parent, int left, int top, int width, int height) {
  if (!CreateControlWindow({.ClassName = "LISTBOX",
                            .Style = WindowStyle(),
                            .ExStyle = WS_EX_CLIENTEDGE,
                            .Left = left,
                            .Top = top,
                            .Width = width,
                            .Height = height,
                            .Parent = &parent}))
    return;
  SetColor(kClWindow);
  UpdateItemHeight();
}

TAdvPSListBox::~TAdvPSListBox() = default;

DWORD TAdvPSListBox::WindowStyle() const {
  return WS_CHILD | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
         LBS_NOINTEGRALHEIGHT | (multi_select_ ? LBS_EXTENDEDSEL : 0);
}

// --- options ---

void TAdvPSListBox::SetImageList(TImageList* list) {
  image_list_ = list;
  UpdateItemHeight();
}

void TAdvPSListBox::SetFlat(bool flat) {
  flat_ = flat;
  Invalidate();
}

void TAdvPSListBox::SetCustomDraw(bool custom_draw) {
  custom_draw_ = custom_draw;
  UpdateItemHeight();
}

void TAdvPSListBox::SetShowChecks(bool show) {
  show_checks_ = show;
  UpdateItemHeight();
}

void TAdvPSListBox::SetShowFileSize(bool show) {
  show_file_size_ = show;
  Invalidate();
}

void TAdvPSListBox::SetShowImages(bool show) {
  show_images_ = show;
  UpdateItemHeight();
}

void TAdvPSListBox::SetFullItemSelect(bool full) {
  full_item_select_ = full;
  Invalidate();
}

void TAdvPSListBox::SetShowDisabledChecks(bool show) {
  show_disabled_checks_ = show;
  Invalidate();
}

void TAdvPSListBox::SetSorted(bool sorted) {
  sorted_ = sorted;
  if (sorted)
    Sort();
}

void TAdvPSListBox::SetMultiSelect(bool multi_select) {
  if (multi_select == multi_select_)
    return;
  multi_select_ = multi_select;
  RecreateWindow(WindowStyle());
}

void TAdvPSListBox::SetCheckBoxSize(SIZE size) {
  check_size_ = size;
  UpdateItemHeight();
}

void TAdvPSListBox::SetFont(const TFontRecord& font) {
  TWindow::SetFont(font);
  UpdateItemHeight();
}

int TAdvPSListBox::ItemHeight() const {
  return static_cast<int>(SendMessageA(Handle(), LB_GETITEMHEIGHT, 0, 0));
}

void TAdvPSListBox::UpdateItemHeight() {
  if (!Handle())
    return;
  const ItemHeightInputs in = {
      .TextHeight = static_cast<int>(MeasureText("Wg").cy),
      .ImageHeight = image_list_ ? static_cast<int>(image_list_->ImageSize().cy) : 0,
      .CheckHeight = static_cast<int>(check_size_.cy),
      .OwnerDraw = custom_draw_,
      .ShowImages = show_images_,
      .HasImageList = image_list_ != nullptr,
      .ShowChecks = show_checks_,
  };
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, AdvListItemHeight(in));
  Invalidate();
}

// --- items ---

int TAdvPSListBox::SortedPosition(const std::string& text) const {
  const int count = Count();
  for (int i = 0; i < count; ++i) {
    if (ListOrderLess(text, ItemText(i)))
      return i;
  }
  return -1;
}

int TAdvPSListBox::AddItem(const std::string& text,
                           CheckState state,
                           bool enabled,
                           const std::string& name,
                           uint32_t size,
                           int picture_index) {
  auto object = std::make_unique<TAdvListItem>();
  object->State = state;
  object->PictureIndex = picture_index;
  object->Size = size;
  object->Enabled = enabled;
  object->Name = name;
  const int position = sorted_ ? SortedPosition(text) : -1;
  const auto index = static_cast<int>(
      SendMessageA(Handle(), LB_INSERTSTRING, position, reinterpret_cast<LPARAM>(text.c_str())));
  if (index < 0)
    return -1;
  SendMessageA(Handle(), LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(object.get()));
  objects_.push_back(std::move(object));
  return index;
}

int TAdvPSListBox::Count() const {
  return Handle() ? static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0)) : 0;
}

std::string TAdvPSListBox::ItemText(int index) const {
  return ListItemText(Handle(), LB_GETTEXTLEN, LB_GETTEXT, index);
}

void TAdvPSListBox::DeleteItem(int index) {
  SendMessageA(Handle(), LB_DELETESTRING, index, 0);
}

void TAdvPSListBox::Clear() {
  SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
}

void TAdvPSListBox::Sort() {
  struct Entry {
    std::string Text;
    LPARAM Object;
  };
  std::vector<Entry> entries;
  for (int i = 0; i < Count(); ++i)
    entries.push_back({ItemText(i), SendMessageA(Handle(), LB_GETITEMDATA, i, 0)});
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return ListOrderLess(a.Text, b.Text); });
  // Straight to the list box: its objects stay.
  DefaultHandler(LB_RESETCONTENT, 0, 0);
  for (const Entry& e : entries) {
    const LRESULT index = DefaultHandler(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.Text.c_str()));
    DefaultHandler(LB_SETITEMDATA, index, e.Object);
  }
}

std::vector<TAdvListItem> TAdvPSListBox::Items() const {
  std::vector<TAdvListItem> items;
  for (int i = 0; i < Count(); ++i)
    items.push_back(ItemOrDefault(i));
  return items;
}

TAdvListItem* TAdvPSListBox::ItemObject(int index) const {
  if (index < 0 || index >= Count())
    return nullptr;
  return reinterpret_cast<TAdvListItem*>(SendMessageA(Handle(), LB_GETITEMDATA, index, 0));
}

TAdvListItem& TAdvPSListBox::EnsureItem(int index) {
  if (TAdvListItem* object = ItemObject(index))
    return *object;
  // Items added to the window directly get their object when first needed.
  objects_.push_back(std::make_unique<TAdvListItem>());
  SendMessageA(Handle(), LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(objects_.back().get()));
  return *objects_.back();
}

void TAdvPSListBox::FreeObject(int index) {
  TAdvListItem* object = ItemObject(index);
  std::erase_if(objects_,
                [object](const std::unique_ptr<TAdvListItem>& o) { return o.get() == object; });
}

const TAdvListItem& TAdvPSListBox::ItemOrDefault(int index) const {
  static const TAdvListItem kNoItem;
  const TAdvListItem* object = ItemObject(index);
  return object ? *object : kNoItem;
}

CheckState TAdvPSListBox::State(int index) const {
  return ItemOrDefault(index).State;
}

int TAdvPSListBox::PictureIndex(int index) const {
  return ItemOrDefault(index).PictureIndex;
}

uint32_t TAdvPSListBox::Size(int index) const {
  return ItemOrDefault(index).Size;
}

bool TAdvPSListBox::ItemEnabledFlag(int index) const {
  return ItemOrDefault(index).Enabled;
}

std::string TAdvPSListBox::ItemName(int index) const {
  return ItemOrDefault(index).Name;
}

bool TAdvPSListBox::Locked(int index) const {
  return ItemOrDefault(index).Locked;
}

void TAdvPSListBox::SetState(int index, CheckState state) {
  if (index < 0 || index >= Count())
    return;
  EnsureItem(index).State = state;
  RepaintItem(index);
}

void TAdvPSListBox::SetPictureIndex(int index, int picture) {
  if (index < 0 || index >= Count())
    return;
  EnsureItem(index).PictureIndex = picture;
  RepaintItem(index);
}

void TAdvPSListBox::SetSize(int index, uint32_t size) {
  if (index < 0 || index >= Count())
    return;
  EnsureItem(index).Size = size;
  RepaintItem(index);
}

void TAdvPSListBox::SetItemEnabled(int index, bool enabled) {
  if (index < 0 || index >= Count())
    return;
  EnsureItem(index).Enabled = enabled;
  RepaintItem(index);
}

void TAdvPSListBox::SetItemName(int index, const std::string& name) {
  if (index >= 0 && index < Count())
    EnsureItem(index).Name = name;
}

void TAdvPSListBox::SetLocked(int index, bool locked) {
  if (index >= 0 && index < Count())
    EnsureItem(index).Locked = locked;
}

uint32_t TAdvPSListBox::ShownSize(int index) const {
  if (OnItemSize)
    return OnItemSize(const_cast<TAdvPSListBox&>(*this), ItemName(index));
  return Size(index);
}

bool TAdvPSListBox::IsItemEnabled(int index) const {
  const bool sizes = show_file_size_ && show_checks_;
  return AdvListItemEnabled(Enabled(), show_file_size_, show_checks_, sizes ? ShownSize(index) : 0,
                            ItemEnabledFlag(index));
}

void TAdvPSListBox::SetCheckedNames(const std::string& names) {
  std::vector<TAdvListItem> items = Items();
  ApplyCheckedNames(items, names);
  for (int i = 0; i < static_cast<int>(items.size()); ++i)
    EnsureItem(i).State = items[i].State;
  Invalidate();
}

std::string TAdvPSListBox::CheckedNames() const {
  return kvb::CheckedNames(Items());
}

void TAdvPSListBox::RepaintItem(int index) {
  RECT r;
  if (SendMessageA(Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
    InvalidateRect(Handle(), &r, FALSE);
}

// --- selection ---

int TAdvPSListBox::ItemIndex() const {
  const UINT message = multi_select_ ? LB_GETCARETINDEX : LB_GETCURSEL;
  const auto index = static_cast<int>(SendMessageA(Handle(), message, 0, 0));
  return index < Count() ? index : -1;
}

void TAdvPSListBox::SetItemIndex(int index) {
  if (multi_select_)
    SendMessageA(Handle(), LB_SETCARETINDEX, index, FALSE);
  else
    SendMessageA(Handle(), LB_SETCURSEL, index, 0);
}

bool TAdvPSListBox::Selected(int index) const {
  return SendMessageA(Handle(), LB_GETSEL, index, 0) > 0;
}

void TAdvPSListBox::SetSelected(int index, bool selected) {
  if (multi_select_)
    SendMessageA(Handle(), LB_SETSEL, selected, index);
  else if (selected)
    SendMessageA(Handle(), LB_SETCURSEL, index, 0);
  else if (ItemIndex() == index)
    SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void TAdvPSListBox::SelectAll() {
  if (multi_select_)
    SendMessageA(Handle(), LB_SETSEL, TRUE, -1);
}

void TAdvPSListBox::DeselectAll() {
  if (multi_select_)
    SendMessageA(Handle(), LB_SETSEL, FALSE, -1);
  else
    SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

// --- checking ---

bool TAdvPSListBox::ToggleItem(int index, bool by_mouse) {
  if (!show_checks_ || index < 0 || index >= Count() || !IsItemEnabled(index))
    return false;
  TAdvListItem& item = EnsureItem(index);
  const CheckState next = NextCheckState(item.State, allow_grayed_);
  if (item.Locked || next == item.State)
    return false;
  if (OnItemStateChange && !OnItemStateChange(*this, index, next))
    return false;
  item.State = next;
  RepaintItem(index);
  if (show_file_size_ && OnItemCheckChanged)
    OnItemCheckChanged(*this, index);
  if (by_mouse && OnCheckClick)
    OnCheckClick(*this, index);
  return true;
}

LRESULT TAdvPSListBox::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CHAR:
      if (wparam == ' ' && show_checks_) {
        ToggleItem(ItemIndex(), false);
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const LRESULT result = TWindow::WndProc(message, wparam, lparam);
      const LRESULT hit = SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, lparam);
      RECT item;
      const int index = LOWORD(hit);
      if (show_checks_ && HIWORD(hit) == 0 &&
          SendMessageA(Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) !=
              LB_ERR &&
          static_cast<short>(LOWORD(lparam)) - item.left < check_size_.cx + 2) {
        ToggleItem(index, true);
      }
      return result;
    }
    case LB_DELETESTRING:
      FreeObject(static_cast<int>(wparam));
      break;
    case LB_RESETCONTENT:
      objects_.clear();
      break;
    case WM_ENABLE:
      Invalidate();
      break;
  }
  return TWindow::WndProc(message, wparam, lparam);
}

bool TAdvPSListBox::HandleNotification(UINT message,
                                       WPARAM wparam,
                                       LPARAM lparam,
                                       LRESULT& result) {
  switch (message) {
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      result = TRUE;
      return true;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->itemHeight = static_cast<UINT>(ItemHeight());
      result = TRUE;
      return true;
    case WM_COMMAND:
      if (HIWORD(wparam) == LBN_SELCHANGE && OnClick)
        OnClick(*this);
      else if (HIWORD(wparam) == LBN_DBLCLK && OnDblClick)
        OnDblClick(*this);
      result = 0;
      return true;
  }
  return TWindow::HandleNotification(message, wparam, lparam, result);
}

void TAdvPSListBox::SaveWindowState() {
  saved_.clear();
  for (int i = 0; i < Count(); ++i)
    saved_.push_back({ItemText(i), ItemObject(i), Selected(i)});
  saved_index_ = ItemIndex();
}

void TAdvPSListBox::RestoreWindowState() {
  for (const SavedItem& item : saved_) {
    const LRESULT index =
        DefaultHandler(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.Text.c_str()));
    DefaultHandler(LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(item.Object));
    if (item.Selected)
      SetSelected(static_cast<int>(index), true);
  }
  if (saved_index_ >= 0)
    SetItemIndex(saved_index_);
  saved_.clear();
  UpdateItemHeight();
}

}  // namespace kvb
