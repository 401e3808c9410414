#include "ui/controls/memo_win.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "base/text.h"
#include "ui/base/graphics_win.h"
#include "ui/controls/list_items_win.h"

namespace kvb {

namespace {

// Windows line ends for every line end of a file (LF, CR LF or CR).
std::string WindowsLineEnds(const std::string& text) {
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      result += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n')
        ++i;
    } else if (text[i] == '\n') {
      result += "\r\n";
    } else {
      result += text[i];
    }
  }
  return result;
}

}  // namespace

TMemo::TMemo(TWindow& parent, int left, int top, int width, int height)
    : TMemo(parent, left, top, width, height, {"EDIT", 0}) {}

TMemo::TMemo(TWindow& parent, int left, int top, int width, int height, MemoClass window_class) {
  if (CreateControlWindow(
          {.ClassName = window_class.ClassName,
           .Style = WS_CHILD | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | window_class.ExtraStyle,
           .ExStyle = WS_EX_CLIENTEDGE,
           .Left = left,
           .Top = top,
           .Width = width,
           .Height = height,
           .Parent = &parent}))
    SetColor(kClWindow);
}

std::vector<std::string> TMemo::Lines() const {
  const std::string text = Text();
  if (text.empty())
    return {};
  return SplitText(text, "\r\n");
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
  SetText(JoinText(lines, "\r\n"));
}

void TMemo::AddLine(const std::string& line) {
  std::vector<std::string> lines = Lines();
  lines.push_back(line);
  SetLines(lines);
}

void TMemo::Sort() {
  std::vector<std::string> lines = Lines();
  std::stable_sort(lines.begin(), lines.end(), ListOrderLess);
  SetLines(lines);
}

bool TMemo::LoadFromFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return false;
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  SetText(WindowsLineEnds(text));
  return true;
}

bool TMemo::ReadOnly() const {
  return Handle() && (GetWindowLongA(Handle(), GWL_STYLE) & ES_READONLY);
}

void TMemo::SetReadOnly(bool read_only) {
  SendMessageA(Handle(), EM_SETREADONLY, read_only, 0);
}

DWORD TMemo::ScrollStyle() const {
  switch (scroll_bars_) {
    case ScrollBars::kNone:
      return 0;
    case ScrollBars::kVertical:
      return WS_VSCROLL;
    case ScrollBars::kHorizontal:
      return WS_HSCROLL | ES_AUTOHSCROLL;
    case ScrollBars::kBoth:
      return WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL;
  }
  return 0;
}

void TMemo::SetScrollBars(ScrollBars bars) {
  if (bars == scroll_bars_ || !Handle())
    return;
  const DWORD old_scroll = ScrollStyle();
  scroll_bars_ = bars;
  // Wrapping (no horizontal scrolling) is fixed when the window is made.
  const DWORD style =
      (static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)) & ~old_scroll) | ScrollStyle();
  RecreateWindow(style);
}

}  // namespace kvb
