// TMemo: a multi-line edit box handled as lines (the not-deleted list, memo lists, and
// the plain fall-back of the text viewer), with optional scroll bars and read-only mode.
#pragma once

#include <string>
#include <vector>

#include "ui/base/window_win.h"

namespace kvb {

enum class ScrollBars { kNone, kVertical, kHorizontal, kBoth };

class TMemo : public TWindow {
 public:
  TMemo(TWindow& parent, int left, int top, int width, int height);

  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  void AddLine(const std::string& line);
  void Clear() { SetText(""); }
  // Sorts the lines (case-insensitive).
  void Sort();
  // Shows the lines of a text file; false (and the memo unchanged) when it cannot be read.
  virtual bool LoadFromFile(const std::string& path);

  bool ReadOnly() const;
  void SetReadOnly(bool read_only);
  ScrollBars Scrolling() const { return scroll_bars_; }
  void SetScrollBars(ScrollBars bars);

 protected:
  // For classes that make another multi-line edit class (the rich-edit viewer).
  struct MemoClass {
    const char* ClassName;
    DWORD ExtraStyle;
  };
  TMemo(TWindow& parent, int left, int top, int width, int height, MemoClass window_class);

 private:
  DWORD ScrollStyle() const;

  ScrollBars scroll_bars_ = ScrollBars::kNone;
};

}  // namespace kvb
