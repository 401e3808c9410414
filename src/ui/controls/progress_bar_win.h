// TProgressBar: the common-controls progress bar (loaded at run time), range 0 to 100 and
// position 0 at first.
#pragma once

#include "ui/base/window_win.h"

namespace kvb {

class TProgressBar : public TWindow {
 public:
  TProgressBar(TWindow& parent, int left, int top, int width, int height, bool smooth);

  int Min() const;
  int Max() const;
  void SetRange(int min, int max);
  void SetMax(int max) { SetRange(Min(), max); }
  int Position() const;
  void SetPosition(int position);
};

}  // namespace kvb
