#include "ui/back/back_window_win.h"

#include <optional>

#include "base/message_pump.h"
#include "ui/base/graphics_win.h"

namespace kvb {

namespace {

constexpr DWORD kFullScreenStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD kFramedStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

SIZE ClientSizeOf(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

}  // namespace

TfrmBackWindow::TfrmBackWindow(const TSetupProperties& properties,
                               std::vector<TSetupBackItem>& items,
                               Variables& vars)
    : TForm({.ClassName = kWindowClass,
             .Caption = vars.ExpandText(properties.Title),
             .Style = properties.BackFlag == kBackFullScreen ? kFullScreenStyle : kFramedStyle,
             .ExStyle = 0}),
      properties_(properties),
      items_(items),
      vars_(vars) {
  if (!Handle())
    return;
  if (properties.BackColor1 != properties.BackColor2) {
    palette_ = CreateGradientPalette(
        GradientColorsOf(ColorOf(properties.BackColor1), ColorOf(properties.BackColor2)));
  }
  ExpandCaptions();
  ApplyBounds();
  // The first paint shows the background and the items already shown; the slide-in
  // comes with the next one.
  paint_stage_ = kFirstShow;
  UpdateWindow(Handle());
  paint_stage_ = kBeforeSlideIn;
  Invalidate();
}

TfrmBackWindow::~TfrmBackWindow() = default;

void TfrmBackWindow::ApplyBounds() {
  const BackWindowBounds placement = BackWindowPlacement(
      properties_.BackFlag, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const BackRect& r = placement.Bounds;
  SetWindowPos(Handle(), nullptr, r.Left, r.Top, r.Width(), r.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(Handle(), placement.Maximised ? SW_SHOWMAXIMIZED : SW_SHOW);
}

void TfrmBackWindow::HostWizard(HWND wizard, BackWindowHost& host) {
  wizard_ = wizard;
  host_ = &host;
  SetWindowPos(wizard, HWND_TOPMOST, 0, 0, 0, 0, kKeepPlace);
  // Caption only: without the system menu there is no close box, so the user closes the
  // setup through the package's buttons or this window.
  const LONG style = GetWindowLongA(wizard, GWL_STYLE);
  SetWindowLongA(wizard, GWL_STYLE,
                 (style & ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) | WS_CAPTION);
  SetWindowPos(wizard, nullptr, 0, 0, 0, 0, kKeepPlace | SWP_NOZORDER | SWP_FRAMECHANGED);
  RedrawWindow(wizard, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  RECT back;
  RECT own;
  GetWindowRect(Handle(), &back);
  GetWindowRect(wizard, &own);
  const int left = back.left + (back.right - back.left - (own.right - own.left)) / 2;
  const int top = back.top + (back.bottom - back.top - (own.bottom - own.top)) / 2;
  SetWindowPos(wizard, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  wizard_ready_ = true;
}

bool TfrmBackWindow::CloseForWizard(bool finishing) {
  if (closing_ == kBackClosed)
    return true;
  if (finishing)
    closing_ = kBackFinishing;
  Close();
  // A refused finishing close must not make the next ordinary close a finishing one.
  if (closing_ == kBackFinishing)
    closing_ = kBackOpen;
  return closing_ == kBackClosed;
}

bool TfrmBackWindow::CloseQuery() {
  if (!host_)
    return closing_ == kBackClosed;
  return BackCloseQuery(closing_, wizard_ready_, vars_, *host_);
}

bool TfrmBackWindow::ExpandCaptions() {
  bool changed = captions_.size() != items_.size();
  captions_.resize(items_.size());
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].Kind != 0)
      continue;
    std::string text = vars_.ExpandText(items_[i].Caption, true);
    if (text != captions_[i]) {
      captions_[i] = std::move(text);
      changed = true;
    }
  }
  return changed;
}

std::string TfrmBackWindow::TempFolder() {
  return vars_.ExpandText("%TempSetupDir%\\");
}

TfrmBackWindow::Layout TfrmBackWindow::LayOut(HDC dc) {
  const SIZE client = ClientSizeOf(Handle());
  Layout layout;
  layout.Items = PrepareBackItems(dc, items_, captions_, TempFolder());
  // Missing pictures take no place in their corner.
  std::vector<BackItemBox> boxes;
  for (const PreparedBackItem& item : layout.Items) {
    if (!item.Skipped())
      boxes.push_back(item.Box());
  }
  const std::vector<BackPoint> placed = LayoutBackItems(boxes, client.cx, client.cy);
  size_t next = 0;
  for (const PreparedBackItem& item : layout.Items)
    layout.Positions.push_back(item.Skipped() ? BackPoint{} : placed[next++]);
  return layout;
}

HDC TfrmBackWindow::FillBuffer(HDC dc) {
  const SIZE client = ClientSizeOf(Handle());
  if (!buffer_ || buffer_stale_ || buffer_->Width() != client.cx ||
      buffer_->Height() != client.cy) {
    buffer_ = std::make_unique<OffscreenCanvas>(dc, client.cx, client.cy);
    buffer_stale_ = false;
  }
  if (!buffer_->Valid())
    return nullptr;
  HDC canvas = buffer_->Dc();
  PaintBackdrop(canvas, client.cx, client.cy, properties_, palette_.Get(),
                TempFolder() + properties_.BackBitmap);
  const Layout layout = LayOut(canvas);
  for (size_t i = 0; i < layout.Items.size(); ++i) {
    if (items_[i].Reserved && !layout.Items[i].Skipped())
      DrawBackItem(canvas, layout.Items[i], layout.Positions[i].X, layout.Positions[i].Y);
  }
  return canvas;
}

void TfrmBackWindow::PaintScene(HDC dc) {
  HPALETTE previous = palette_ ? SelectPalette(dc, palette_.Get(), FALSE) : nullptr;
  if (palette_)
    RealizePalette(dc);
  const SIZE client = ClientSizeOf(Handle());
  if (HDC canvas = FillBuffer(dc))
    BitBlt(dc, 0, 0, client.cx, client.cy, canvas, 0, 0, SRCCOPY);
  if (previous)
    SelectPalette(dc, previous, FALSE);
}

void TfrmBackWindow::SlideIn() {
  items_animated_ = true;
  HDC dc = GetDC(Handle());
  const Layout layout = LayOut(dc);
  bool ending = false;
  for (size_t i = 0; i < layout.Items.size(); ++i) {
    TSetupBackItem& record = items_[i];
    const PreparedBackItem& item = layout.Items[i];
    if (item.Skipped() || record.Reserved)
      continue;
    if (!ending) {
      const BackPoint target = layout.Positions[i];
      if (record.Flag2 == kSlideNone || record.Flag2 > kSlideFromBottomRight)
        DrawBackItem(dc, item, target.X, target.Y);
      else
        ending = !SlideItem(dc, item, target);
    }
    // When the run ends meanwhile, the rest show at once with the next paint.
    record.Reserved = 1;
  }
  ReleaseDC(Handle(), dc);
}

bool TfrmBackWindow::SlideItem(HDC dc, const PreparedBackItem& item, BackPoint target) {
  if (!FillBuffer(dc)) {
    DrawBackItem(dc, item, target.X, target.Y);
    return true;
  }
  const SIZE client = ClientSizeOf(Handle());
  const SlideMeasure size = item.SlideSize();
  OffscreenCanvas carrier(dc, size.Width, size.Height);
  const BackPoint start = SlideStart(item.Record->Flag2, target, size, client.cx, client.cy);
  std::optional<BackRect> previous;
  for (const BackPoint& at : SlidePath(start, target)) {
    // Re-read: a paint while messages were processed may have made the buffer anew.
    HDC buffer = buffer_->Dc();
    const BackRect place = {at.X, at.Y, at.X + size.Width, at.Y + size.Height};
    if (previous) {
      for (const BackRect& strip : UncoveredStrips(*previous, place)) {
        BitBlt(dc, strip.Left, strip.Top, strip.Width(), strip.Height(), buffer, strip.Left,
               strip.Top, SRCCOPY);
      }
    }
    if (carrier.Valid()) {
      BitBlt(carrier.Dc(), 0, 0, size.Width, size.Height, buffer, at.X, at.Y, SRCCOPY);
      DrawBackItem(carrier.Dc(), item, 0, 0);
      BitBlt(dc, at.X, at.Y, size.Width, size.Height, carrier.Dc(), 0, 0, SRCCOPY);
    } else {
      DrawBackItem(dc, item, at.X, at.Y);
    }
    previous = place;
    Sleep(1);
    if (!ProcessPendingMessages())
      return false;
  }
  return true;
}

void TfrmBackWindow::Activated(bool application) {
  const bool changed = ExpandCaptions();
  if (changed || (application && palette_))
    Invalidate();
  PlaceFrontWindows();
}

void TfrmBackWindow::PlaceFrontWindows() {
  if (!wizard_ready_ || !host_)
    return;
  if (IsWindowVisible(wizard_)) {
    HWND secondary = host_->SecondaryDialog();
    const bool below_dialog = secondary && IsWindowVisible(secondary);
    SetWindowPos(wizard_, below_dialog ? secondary : HWND_TOPMOST, 0, 0, 0, 0, kKeepPlace);
    return;
  }
  HWND copying = host_->CopyingForm();
  if (copying && IsWindowVisible(copying))
    SetWindowPos(copying, HWND_TOPMOST, 0, 0, 0, 0, kKeepPlace);
}

LRESULT TfrmBackWindow::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole client area
    case WM_PAINT: {
      ExpandCaptions();
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      PaintScene(dc);
      EndPaint(Handle(), &ps);
      if (paint_stage_ == kBeforeSlideIn && !items_animated_) {
        SlideIn();
        paint_stage_ = kPainted;
        HDC window_dc = GetDC(Handle());
        PaintScene(window_dc);
        ReleaseDC(Handle(), window_dc);
      }
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintScene(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_SIZE:
      buffer_stale_ = true;
      Invalidate();
      break;
    case WM_ACTIVATEAPP:
      if (wparam)
        Activated(true);
      break;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE)
        Activated(false);
      break;
    case WM_SHOWWINDOW:
      if (wparam && wizard_ready_ && IsWindowVisible(wizard_))
        SetWindowPos(wizard_, HWND_TOPMOST, 0, 0, 0, 0, kKeepPlace | SWP_SHOWWINDOW);
      break;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
      if (palette_ && reinterpret_cast<HWND>(wparam) != Handle()) {
        Invalidate();
        return TRUE;
      }
      break;
    case WM_CLOSE:
      if (CloseQuery()) {
        Hide();
        if (OnClosed)
          OnClosed();
      }
      return 0;
  }
  return TForm::WndProc(message, wparam, lparam);
}

}  // namespace kvb
