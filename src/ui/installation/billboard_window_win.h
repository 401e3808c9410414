// TfrmBillboard: the borderless picture window that shows the package's billboard
// pictures above the progress of an installation. It stays on top and never takes the
// focus.
#pragma once

#include <windows.h>

#include <string>

#include "ui/base/form_win.h"

namespace kvb {

class TImage;

class TfrmBillboard : public TForm {
 public:
  static constexpr char kWindowClass[] = "TfrmBillboard";

  // Created hidden, owned by `owner`, captioned `caption` (the application title).
  TfrmBillboard(HWND owner, const std::string& caption);
  ~TfrmBillboard() override;

  // Loads the bitmap file, sizes the window to it, centres it horizontally with its lower
  // edge 32 pixels above `bottom` and shows it. False (the window stays hidden) when the
  // file is no bitmap.
  bool ShowPicture(const std::string& bitmap_file, int bottom);

 private:
  TImage* imgBitmap_;
};

}  // namespace kvb
