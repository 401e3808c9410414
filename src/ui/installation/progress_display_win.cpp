#include "ui/installation/progress_display_win.h"

#include "base/text.h"
#include "ui/dialogs/copying_files_win.h"
#include "ui/installation/installation_layout.h"

namespace kvb {
namespace {

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

ScreenPoint PlaceOf(HWND window, bool billboards) {
  const RECT r = WindowRect(window);
  return ProgressWindowPlace(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                             r.right - r.left, r.bottom - r.top, billboards);
}

}  // namespace

ProgressDisplay::ProgressDisplay(InstallationWindow& window, CopyingWindowLook look)
    : window_(window), look_(std::move(look)) {}

ProgressDisplay::~ProgressDisplay() = default;

bool ProgressDisplay::ShowInstallPage() {
  if (!SameText(window_.CurrentPageName(), kInstallPageName) && !window_.ShowPage(kInstallPageName))
    return false;
  window_.ShowProgress(StatusKind::kMaximum, "", 100);
  window_.ShowProgress(StatusKind::kPosition, "", 0);
  if (look_.Billboards) {
    const ScreenPoint place = PlaceOf(window_.Handle(), true);
    window_.MoveTo(place.Left, place.Top);
  }
  return true;
}

void ProgressDisplay::ShowCopyingWindow(const std::string& button_caption, bool button_enabled) {
  const bool back = window_.HasBackWindow();
  copying_ = std::make_unique<TfrmCopyingFiles>(
      back ? window_.Handle() : window_.ApplicationHandle(), look_.Caption);
  if (look_.Font.Size != 0)
    copying_->SetFont(look_.Font);
  copying_->SetCancelCaption(button_caption);
  copying_->SetCancelEnabled(button_enabled);
  copying_->OnCancel = [this] { window_.RequestClose(); };
  const ScreenPoint place = PlaceOf(copying_->Handle(), look_.Billboards);
  SetWindowPos(copying_->Handle(), back ? HWND_TOPMOST : nullptr, place.Left, place.Top, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | (back ? 0 : SWP_NOZORDER));
  window_.HideForm();
  copying_->Show();
  copying_->Repaint();
}

void ProgressDisplay::Status(StatusKind kind, const std::string& text, int value) {
  if (copying_)
    copying_->ShowStatus(static_cast<int>(kind), text, value);
  else
    window_.ShowProgress(kind, text, value);
}

HWND ProgressDisplay::Owner() const {
  return copying_ ? copying_->Handle() : window_.Handle();
}

int ProgressDisplay::Top() const {
  return WindowRect(Owner()).top;
}

void ProgressDisplay::HideCopyingWindow() {
  if (copying_)
    copying_->Hide();
}

void ProgressDisplay::CloseCopyingWindow() {
  copying_.reset();
}

}  // namespace kvb
