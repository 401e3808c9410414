// Reading and operating the standard controls of another process. Messages that may
// open a modal window in the target are posted, never sent, so the driver cannot block.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kvb::driver {

// Reads a control's text with WM_GETTEXT under a time-out ("" when the target is busy).
std::string ControlText(HWND control);

// BM_GETCHECK of a button: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
int CheckState(HWND button);

struct ListItem {
  std::string text;
  bool selected = false;
};

// The items of a list box or combo box; empty for other classes and for owner-drawn
// lists that keep no strings.
std::vector<ListItem> ListItems(HWND control);

// Presses a control as a user would: BM_CLICK for buttons, a left click in the middle
// for other classes. False when the message cannot be posted.
bool PostClick(HWND control);

// Replaces the text of an edit box (the control notifies its parent of the change).
bool SetControlText(HWND control, const std::string& text);

// Selects item `index` of a list or combo box and tells the parent the selection
// changed, as a user's choice does.
bool SelectListItem(HWND control, int index);

}  // namespace kvb::driver
