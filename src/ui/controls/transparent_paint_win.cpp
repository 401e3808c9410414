#include "ui/controls/transparent_paint_win.h"

#include "ui/base/graphics_win.h"
#include "ui/controls/check_box_win.h"

namespace kvb {

namespace {

int active_paints = 0;

// Counts a running transparent paint for its scope.
class PaintScope {
 public:
  PaintScope() { ++active_paints; }
  ~PaintScope() { --active_paints; }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
};

// The nearest ancestor that paints transparently and has a background image already.
const TCheckStyleButton* TransparentAncestor(const TWindow& control) {
  for (TWindow* w = control.Parent(); w; w = w->Parent()) {
    auto* button = dynamic_cast<const TCheckStyleButton*>(w);
    if (button && button->TransparentPaint() && button->Painter().Background())
      return button;
  }
  return nullptr;
}

// dest := dest AND NOT source (ROP "DSna"): clears the destination where the mask is set.
constexpr DWORD kDestAndNotSource = 0x00220326;

}  // namespace

int TTransparentPaint::ActivePaints() {
  return active_paints;
}

void TTransparentPaint::PaintBackground(HDC dc, int width, int height) {
  if (const TCheckStyleButton* ancestor = TransparentAncestor(control_)) {
    POINT origin = {0, 0};
    MapWindowPoints(control_.Handle(), ancestor->Handle(), &origin, 1);
    MemoryDc source(dc);
    SelectedObject selected(source.Get(), ancestor->Painter().Background());
    BitBlt(dc, 0, 0, width, height, source.Get(), origin.x, origin.y, SRCCOPY);
    return;
  }
  PaintParentBackground(control_.Handle(), dc);
}

bool TTransparentPaint::Paint(HDC target, const std::function<void(HDC)>& paint_control) {
  if (!on_ || active_paints > 0)
    return false;
  PaintScope scope;
  RECT client;
  GetClientRect(control_.Handle(), &client);
  const int width = client.right;
  const int height = client.bottom;
  OffscreenCanvas background(target, width, height);
  OffscreenCanvas picture(target, width, height);
  OffscreenCanvas result(target, width, height);
  if (!background.Valid() || !picture.Valid() || !result.Valid())
    return false;
  PaintBackground(background.Dc(), width, height);
  paint_control(picture.Dc());

  // A mask with a 1 for every pixel of the colour at the picture's top-left corner.
  const COLORREF key = GetPixel(picture.Dc(), 0, 0);
  UniqueBitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
  MemoryDc mask_memory(target);
  HDC mask_dc = mask_memory.Get();
  SelectedObject selected(mask_dc, mask.Get());
  SetBkColor(picture.Dc(), key);
  BitBlt(mask_dc, 0, 0, width, height, picture.Dc(), 0, 0, SRCCOPY);

  // Monochrome sources expand to the destination's background colour (1) and text
  // colour (0): white and black here.
  for (HDC dc : {picture.Dc(), result.Dc()}) {
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
  }
  BitBlt(picture.Dc(), 0, 0, width, height, mask_dc, 0, 0, kDestAndNotSource);
  BitBlt(result.Dc(), 0, 0, width, height, background.Dc(), 0, 0, SRCCOPY);
  BitBlt(result.Dc(), 0, 0, width, height, mask_dc, 0, 0, SRCAND);
  BitBlt(result.Dc(), 0, 0, width, height, picture.Dc(), 0, 0, SRCPAINT);
  BitBlt(target, 0, 0, width, height, result.Dc(), 0, 0, SRCCOPY);
  background_ = background.TakeBitmap();
  return true;
}

}  // namespace kvb
