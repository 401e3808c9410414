// BuildControls: turns a page's control records into controls on a panel. Every control
// gets a copy of its record, a unique name ("PS_" + prefix + kind suffix + n), the
// record's bounds, its event handlers (before any value is set, so that scripts see
// programmatic changes as they see the user's), the properties of its strings
// (unexpanded; the binding expands them) and its resolved font.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "setupdata/records.h"
#include "ui/base/window_win.h"
#include "ui/controls/ps_control_win.h"

namespace kvb {

struct BuildCallbacks {
  // A style-space record (kind 12): the name prefix and its Left, Top, Height, Width.
  std::function<void(const std::string& prefix, int left, int top, int height, int width)>
      OnStyleSpace;
  PictureResolver ResolvePicture;
  // The click, change or value-change event of a built control.
  NotifyEvent OnControlEvent;
  // Called once a control is made and visible.
  std::function<void(TWindow& control)> OnControlCreated;
  TFontRecord DefaultFont;
  bool KeepDefaultFace = false;
};

// Creates one control per record on `parent`, owned by `owner`, in record order. Kinds
// 0, 12 and above 14 create nothing.
void BuildControls(const std::string& prefix,
                   TWindow& parent,
                   TWindow& owner,
                   const std::vector<TSetupControl>& records,
                   const BuildCallbacks& callbacks);

// The record carried by a built control; null for any other window.
const TPSControl* ControlRecordOf(const TWindow& window);

}  // namespace kvb
