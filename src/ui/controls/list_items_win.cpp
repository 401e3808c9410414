#include "ui/controls/list_items_win.h"

#include "ui/base/graphics_win.h"

namespace kvb {

bool ListOrderLess(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) < 0;
}

std::string ListItemText(HWND window, UINT length_message, UINT text_message, int index) {
  const LRESULT length = SendMessageA(window, length_message, index, 0);
  if (length < 0)
    return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(window, text_message, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

bool ShowsFocusRect(const DRAWITEMSTRUCT& draw) {
  return (draw.itemState & ODS_FOCUS) && !(draw.itemState & ODS_NOFOCUSRECT);
}

void DrawListPicture(HDC dc, const RECT& item, int x, HBITMAP picture) {
  if (!picture)
    return;
  const int top = item.top + (item.bottom - item.top - kListPictureSize) / 2;
  DrawTransparentBitmap(dc, {x, top, x + kListPictureSize, top + kListPictureSize}, picture,
                        {0, 0, kListPictureSize, kListPictureSize}, BottomLeftColor(picture));
}

}  // namespace kvb
