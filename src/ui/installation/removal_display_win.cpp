#include "ui/installation/removal_display_win.h"

#include "base/message_pump.h"
#include "base/text.h"

namespace kvb {

WizardRemovalDisplay::WizardRemovalDisplay(InstallationWindow& window,
                                           ProgressDisplay& display,
                                           std::string title)
    : window_(window), display_(display), title_(std::move(title)) {}

void WizardRemovalDisplay::Begin(const std::string& status, const std::string& button_caption) {
  const std::string current = window_.CurrentPageName();
  if (display_.ShowInstallPage()) {
    // Shown from another page: that page comes back afterwards.
    if (!SameText(current, kInstallPageName))
      page_before_ = current;
  } else {
    display_.ShowCopyingWindow(button_caption, false);
  }
  display_.Status(StatusKind::kStatusLine, status);
  display_.Status(StatusKind::kDetailLine, "");
  display_.Status(StatusKind::kPosition, "", 0);
}

void WizardRemovalDisplay::SetMaximum(int maximum) {
  display_.Status(StatusKind::kMaximum, "", maximum);
}

void WizardRemovalDisplay::SetPosition(int position) {
  display_.Status(StatusKind::kPosition, "", position);
}

void WizardRemovalDisplay::End() {
  if (display_.UsesCopyingWindow()) {
    display_.CloseCopyingWindow();
    window_.ShowForm();
  } else if (!page_before_.empty()) {
    window_.ShowPage(page_before_);
  }
}

void WizardRemovalDisplay::ProcessMessages() {
  ProcessPendingMessages();
}

void WizardRemovalDisplay::ShowError(const std::string& text) {
  MessageBoxA(display_.Owner(), text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
}

}  // namespace kvb
