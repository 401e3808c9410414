#include "ui/installation/billboard_window_win.h"

#include "ui/base/gdi_object_win.h"
#include "ui/base/graphics_win.h"
#include "ui/controls/image_win.h"
#include "ui/installation/installation_layout.h"

namespace kvb {

TfrmBillboard::TfrmBillboard(HWND owner, const std::string& caption)
    : TForm({.ClassName = kWindowClass,
             .Caption = caption,
             .ClientWidth = 1,
             .ClientHeight = 1,
             .Style = WS_POPUP | WS_CLIPCHILDREN,
             .ExStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE,
             .Owner = owner}) {
  SetColor(kClWindow);
  imgBitmap_ = &Own(std::make_unique<TImage>(*this, 0, 0, 1, 1));
  ShowControls();
}

TfrmBillboard::~TfrmBillboard() = default;

bool TfrmBillboard::ShowPicture(const std::string& bitmap_file, int bottom) {
  UniqueBitmap bitmap(static_cast<HBITMAP>(
      LoadImageA(nullptr, bitmap_file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  if (!bitmap)
    return false;
  BITMAP info{};
  GetObjectA(bitmap.Get(), sizeof(info), &info);
  Hide();
  imgBitmap_->SetPicture(std::move(bitmap));
  imgBitmap_->SetBounds(0, 0, info.bmWidth, info.bmHeight);
  const ScreenPoint place = BillboardPlace(GetSystemMetrics(SM_CXSCREEN), info.bmWidth,
                                           info.bmHeight, bottom);
  SetWindowPos(Handle(), HWND_TOPMOST, place.Left, place.Top, info.bmWidth, info.bmHeight,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Repaint();
  return true;
}

}  // namespace kvb
