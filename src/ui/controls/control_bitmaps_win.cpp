#include "ui/controls/control_bitmaps_win.h"

namespace kvb {

UniqueBitmap LoadControlBitmap(const std::string& name) {
  return UniqueBitmap(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

bool NewerShell() {
  return LOBYTE(LOWORD(GetVersion())) >= 4;
}

}  // namespace kvb
