// TPanel: a plain child container (pages, style panels, the secondary dialog's area):
// no caption, bevel or border, the parent's colour and font, Tab moves into it.
#pragma once

#include "ui/base/window_win.h"

namespace kvb {

class TPanel : public TWindow {
 public:
  // Creates the panel on `parent`, hidden.
  TPanel(TWindow& parent, int left, int top, int width, int height);
};

}  // namespace kvb
