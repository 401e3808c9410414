// The progress of a product's removal in the setup program: the "INSTALL" page, or the
// copying window with its button disabled, and back to where the wizard was afterwards.
#pragma once

#include <string>

#include "uninstall/uninstall_product.h"
#include "ui/installation/installation_window.h"
#include "ui/installation/progress_display_win.h"

namespace kvb {

class WizardRemovalDisplay final : public RemovalDisplay {
 public:
  // `title` is the caption of the error message box.
  WizardRemovalDisplay(InstallationWindow& window, ProgressDisplay& display, std::string title);

  void Begin(const std::string& status, const std::string& button_caption) override;
  void SetMaximum(int maximum) override;
  void SetPosition(int position) override;
  void End() override;
  void ProcessMessages() override;
  void ShowError(const std::string& text) override;

 private:
  InstallationWindow& window_;
  ProgressDisplay& display_;
  std::string title_;
  std::string page_before_;  // the page to go back to; "" when the wizard stays
};

}  // namespace kvb
