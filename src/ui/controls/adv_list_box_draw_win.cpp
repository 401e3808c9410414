// Owner drawing of TAdvPSListBox's items.
#include "base/size_text.h"
#include "ui/base/graphics_win.h"
#include "ui/controls/adv_list_box_win.h"
#include "ui/controls/image_list_win.h"
#include "ui/controls/list_items_win.h"
#include "ui/controls/visual_styles_win.h"

namespace kvb {

namespace {

constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

int ThemeState(CheckState state, bool enabled) {
  switch (state) {
    case CheckState::kChecked:
      return enabled ? theme::kCheckCheckedNormal : theme::kCheckCheckedDisabled;
    case CheckState::kGrayed:
      return enabled ? theme::kCheckMixedNormal : theme::kCheckMixedDisabled;
    case CheckState::kUnchecked:
      break;
  }
  return enabled ? theme::kCheckUncheckedNormal : theme::kCheckUncheckedDisabled;
}

}  // namespace

void TAdvPSListBox::DrawCheckBoxClassic(HDC dc,
                                        const RECT& box,
                                        CheckState state,
                                        bool enabled) const {
  UINT flags = DFCS_BUTTONCHECK;
  if (state == CheckState::kChecked)
    flags |= DFCS_CHECKED;
  else if (state == CheckState::kGrayed)
    flags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (!enabled)
    flags |= DFCS_INACTIVE;
  RECT frame = box;
  if (!flat_) {
    DrawFrameControl(dc, &frame, DFC_BUTTON, flags);
    return;
  }
  // Flat: the box without its 3D edge, inside a 1-pixel shadow-coloured border.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, box.left + 2, box.top + 2, box.right - 2, box.bottom - 2);
  DrawFrameControl(dc, &frame, DFC_BUTTON, flags);
  RestoreDC(dc, saved);
  RECT border = box;
  InflateRect(&border, -1, -1);
  FrameRect(dc, &border, GetSysColorBrush(COLOR_BTNSHADOW));
}

void TAdvPSListBox::DrawCheckBox(HDC dc, const RECT& item, int index, bool enabled) {
  RECT box;
  box.left = item.left + 1;
  box.top = item.top + (item.bottom - item.top - check_size_.cy) / 2;
  box.right = box.left + check_size_.cx;
  box.bottom = box.top + check_size_.cy;
  const CheckState state = State(index);
  const VisualStyles& styles = VisualStyles::Get();
  if (styles.Active() && styles.DrawPart(Handle(), L"BUTTON", theme::kButtonCheckBox,
                                         ThemeState(state, enabled), dc, box)) {
    return;
  }
  DrawCheckBoxClassic(dc, box, state, enabled);
}

void TAdvPSListBox::DrawItem(const DRAWITEMSTRUCT& draw) {
  HDC dc = draw.hDC;
  const bool focus = ShowsFocusRect(draw);
  if (draw.itemID == static_cast<UINT>(-1)) {
    if (focus)
      DrawFocusRect(dc, &draw.rcItem);
    return;
  }
  const int index = static_cast<int>(draw.itemID);
  const RECT& item = draw.rcItem;
  const bool selected = draw.itemState & ODS_SELECTED;
  SelectedObject font(dc, DrawingFont());
  SetBkMode(dc, TRANSPARENT);
  const std::string text = ItemText(index);

  if (!custom_draw_) {
    FillRect(dc, &item, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : ColorBrush());
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : FontColor());
    RECT area = {item.left + 2, item.top, item.right, item.bottom};
    DrawTextA(dc, text.c_str(), -1, &area, kTextFormat);
    if (focus)
      DrawFocusRect(dc, &item);
    return;
  }

  const bool enabled = IsItemEnabled(index);
  if (show_checks_ && !enabled && !show_disabled_checks_ &&
      State(index) != CheckState::kUnchecked) {
    EnsureItem(index).State = CheckState::kUnchecked;
    if (OnItemCheckChanged)
      OnItemCheckChanged(*this, index);
  }
  const int check_area = show_checks_ ? check_size_.cx + 2 : 0;
  RECT highlight = item;
  if (!full_item_select_)
    highlight.left += check_area;
  FillRect(dc, &item, ColorBrush());
  if (selected)
    FillRect(dc, &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
  if (show_checks_)
    DrawCheckBox(dc, item, index, enabled);

  int x = item.left + check_area + 2;
  const int picture = PictureIndex(index);
  if (show_images_ && image_list_ && picture >= 0) {
    const SIZE size = image_list_->ImageSize();
    image_list_->Draw(dc, picture, x, item.top + (item.bottom - item.top - size.cy) / 2);
    x += size.cx + 4;
  }

  SetTextColor(dc, !enabled   ? GetSysColor(COLOR_GRAYTEXT)
                   : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                              : FontColor());
  RECT area = {x, item.top, item.right - 2, item.bottom};
  if (show_file_size_ && State(index) == CheckState::kChecked) {
    if (const uint32_t size = ShownSize(index)) {
      const std::string size_text = FormatSizeText(size, SizeUnit::kBytes);
      DrawTextA(dc, size_text.c_str(), -1, &area, kTextFormat | DT_RIGHT);
      area.right -= TextExtent(dc, size_text).cx + 4;
    }
  }
  DrawTextA(dc, text.c_str(), -1, &area, kTextFormat | DT_END_ELLIPSIS);
  if (focus)
    DrawFocusRect(dc, &highlight);
}

}  // namespace kvb
