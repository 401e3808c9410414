// Finding and reading the windows of other processes. Texts are read with WM_GETTEXT
// under a time-out, so a busy or hung target never blocks the driver.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tools/driver/step.h"

namespace kvb::driver {

struct WindowInfo {
  HWND hwnd = nullptr;
  int depth = 0;  // 0 for the top-level window, 1 for its children ...
  std::string class_name;
  std::string text;
  int id = 0;
  DWORD pid = 0;
  bool visible = false;
  bool enabled = false;
};

WindowInfo DescribeWindow(HWND hwnd, int depth);

// What a top-level window must be like. Empty texts are not tested.
struct TopLevelQuery {
  std::string title;       // equal
  std::string title_part;  // contained
  std::string class_name;  // equal, case-insensitively
  std::optional<DWORD> pid;
  bool include_hidden = false;
};

// The first top-level window, in z-order, that fits the query, or nullptr.
HWND FindTopLevel(const TopLevelQuery& query);

// The window itself followed by every descendant, in EnumChildWindows order.
std::vector<WindowInfo> WindowTree(HWND top);

// The control of `top` that the selector picks, or nullptr. Controls of a class other
// than `default_classes` (separated by '|') only match when the selector names a class.
HWND FindControl(HWND top, const ControlSelector& selector, const std::string& default_classes);

// The lines `dump` prints for a window tree: the window, its owner and its screen
// rectangle, every control (class, control id, text, state) and the items of list and
// combo boxes.
std::vector<std::string> DumpLines(HWND top);

}  // namespace kvb::driver
