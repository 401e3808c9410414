// What the list controls share: the texts and order of their items, and the owner drawing
// of items with a picture (the drive and folder lists).
#pragma once

#include <windows.h>

#include <string>

namespace kvb {

// Width and height of the drive and folder pictures.
inline constexpr int kListPictureSize = 16;

// The order list boxes sort their items in: case-insensitive, by the system's comparison.
bool ListOrderLess(const std::string& a, const std::string& b);

// The text of item `index` of a list or combo box, read with its length and text messages
// (LB_GETTEXTLEN and LB_GETTEXT, or CB_GETLBTEXTLEN and CB_GETLBTEXT); empty when there is
// no such item.
std::string ListItemText(HWND window, UINT length_message, UINT text_message, int index);

// Whether an owner-drawn item shows its focus rectangle.
bool ShowsFocusRect(const DRAWITEMSTRUCT& draw);

// Draws a picture of kListPictureSize at `x`, centred vertically in the item, its
// bottom-left colour transparent. Nothing for no picture.
void DrawListPicture(HDC dc, const RECT& item, int x, HBITMAP picture);

}  // namespace kvb
