#include "tools/driver/windows_win.h"

#include "base/text.h"
#include "tools/driver/controls_win.h"

namespace kvb::driver {
namespace {

std::string ClassOf(HWND hwnd) {
  char name[256] = {};
  const int length = GetClassNameA(hwnd, name, sizeof(name));
  return std::string(name, length > 0 ? length : 0);
}

// Top-level captions come from the window manager's copy (no message to a possibly
// busy target); controls are asked for their text.
std::string TextOf(HWND hwnd, int depth) {
  if (depth == 0) {
    char title[1024] = {};
    const int length = GetWindowTextA(hwnd, title, sizeof(title));
    return std::string(title, length > 0 ? length : 0);
  }
  return ControlText(hwnd);
}

bool ClassAllowed(const std::string& actual,
                  const ControlSelector& selector,
                  const std::string& default_classes) {
  if (selector.class_name == "*")
    return true;
  if (!selector.class_name.empty())
    return SameText(actual, selector.class_name);
  for (const std::string& name : SplitText(default_classes, "|")) {
    if (name == "*" || SameText(actual, name))
      return true;
  }
  return false;
}

bool Matches(const WindowInfo& control,
             const ControlSelector& selector,
             const std::string& default_classes) {
  if (!control.visible)
    return false;
  if (!ClassAllowed(control.class_name, selector, default_classes))
    return false;
  if (selector.id && static_cast<int64_t>(control.id) != *selector.id)
    return false;
  return !selector.text || CaptionMatches(control.text, *selector.text);
}

std::string ControlLine(const WindowInfo& info) {
  std::string line(static_cast<size_t>(info.depth) * 2, ' ');
  line += "control class=" + QuoteText(info.class_name) + " id=" + std::to_string(info.id) +
          " text=" + QuoteText(info.text);
  if (SameText(info.class_name, "Button")) {
    const int state = CheckState(info.hwnd);
    if (state == BST_CHECKED)
      line += " checked";
    if (state == BST_INDETERMINATE)
      line += " indeterminate";
  }
  if (!info.visible)
    line += " hidden";
  if (!info.enabled)
    line += " disabled";
  return line;
}

struct TopLevelSearch {
  const TopLevelQuery* query;
  HWND found = nullptr;
};

BOOL CALLBACK VisitTopLevel(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<TopLevelSearch*>(param);
  const TopLevelQuery& q = *search->query;
  const WindowInfo info = DescribeWindow(hwnd, 0);
  if (!q.include_hidden && !info.visible)
    return TRUE;
  if (q.pid && info.pid != *q.pid)
    return TRUE;
  if (!q.class_name.empty() && !SameText(info.class_name, q.class_name))
    return TRUE;
  if (!q.title.empty() && info.text != q.title)
    return TRUE;
  if (!q.title_part.empty() && info.text.find(q.title_part) == std::string::npos)
    return TRUE;
  search->found = hwnd;
  return FALSE;
}

struct TreeWalk {
  HWND top;
  std::vector<WindowInfo> tree;
};

BOOL CALLBACK VisitChild(HWND hwnd, LPARAM param) {
  auto* walk = reinterpret_cast<TreeWalk*>(param);
  int depth = 0;
  for (HWND up = hwnd; up && up != walk->top && depth < 64; up = GetParent(up))
    ++depth;
  walk->tree.push_back(DescribeWindow(hwnd, depth));
  return TRUE;
}

}  // namespace

WindowInfo DescribeWindow(HWND hwnd, int depth) {
  WindowInfo info;
  info.hwnd = hwnd;
  info.depth = depth;
  info.class_name = ClassOf(hwnd);
  info.text = TextOf(hwnd, depth);
  info.id = depth == 0 ? 0 : GetDlgCtrlID(hwnd);
  GetWindowThreadProcessId(hwnd, &info.pid);
  info.visible = IsWindowVisible(hwnd) != FALSE;
  info.enabled = IsWindowEnabled(hwnd) != FALSE;
  return info;
}

HWND FindTopLevel(const TopLevelQuery& query) {
  TopLevelSearch search{&query};
  EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<WindowInfo> WindowTree(HWND top) {
  TreeWalk walk{top, {DescribeWindow(top, 0)}};
  EnumChildWindows(top, VisitChild, reinterpret_cast<LPARAM>(&walk));
  return walk.tree;
}

HWND FindControl(HWND top, const ControlSelector& selector, const std::string& default_classes) {
  bool anchor_seen = !selector.after;
  int matches = 0;
  const std::vector<WindowInfo> tree = WindowTree(top);
  for (size_t i = 1; i < tree.size(); ++i) {
    const WindowInfo& control = tree[i];
    if (!anchor_seen) {
      anchor_seen = control.visible && CaptionMatches(control.text, *selector.after);
      continue;
    }
    if (Matches(control, selector, default_classes) && ++matches == selector.index)
      return control.hwnd;
  }
  return nullptr;
}

std::vector<std::string> DumpLines(HWND top) {
  std::vector<std::string> lines;
  const std::vector<WindowInfo> tree = WindowTree(top);
  const WindowInfo& window = tree.front();
  std::string head = "window class=" + QuoteText(window.class_name) +
                     " text=" + QuoteText(window.text) + " pid=" + std::to_string(window.pid);
  if (HWND owner = GetWindow(top, GW_OWNER)) {
    const WindowInfo info = DescribeWindow(owner, 0);
    head += " owner-class=" + QuoteText(info.class_name) + " owner-text=" + QuoteText(info.text);
  }
  RECT bounds{};
  if (GetWindowRect(top, &bounds)) {
    head += " left=" + std::to_string(bounds.left) + " top=" + std::to_string(bounds.top) +
            " width=" + std::to_string(bounds.right - bounds.left) +
            " height=" + std::to_string(bounds.bottom - bounds.top);
  }
  lines.push_back(head);
  for (size_t i = 1; i < tree.size(); ++i) {
    lines.push_back(ControlLine(tree[i]));
    const std::string indent(static_cast<size_t>(tree[i].depth) * 2 + 2, ' ');
    for (const ListItem& item : ListItems(tree[i].hwnd))
      lines.push_back(indent + "item " + QuoteText(item.text) + (item.selected ? " selected" : ""));
  }
  return lines;
}

}  // namespace kvb::driver
