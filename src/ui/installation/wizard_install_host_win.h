// WizardInstallHost: the installation engine's windows in the setup program. Status goes
// to the progress display, questions are the real dialogs over the window that shows
// the progress, a Cancel in a prompt runs the wizard's close query, and the billboard
// pictures stand in their own window above the progress.
#pragma once

#include <memory>
#include <string>

#include "install/install_host.h"
#include "setupdata/records.h"
#include "ui/installation/installation_window.h"
#include "ui/installation/progress_display_win.h"

namespace kvb {

class TfrmBillboard;

class WizardInstallHost final : public InstallHost {
 public:
  // `title` is the application title (caption of every message box and prompt), `font`
  // the package's font for the next-disk request, `setup_path` the setup program's file
  // (it names the volume files).
  WizardInstallHost(InstallationWindow& window,
                    ProgressDisplay& display,
                    std::string title,
                    TFontRecord font,
                    std::string setup_path);
  ~WizardInstallHost() override;

  void Status(StatusKind kind, const std::string& text, int value) override;
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  PromptAnswer AskFileOverwrite(const OverwritePrompt& prompt) override;
  bool RequestClose() override;
  std::optional<std::string> AskNextDisk(const DiskPrompt& prompt) override;
  void ShowBillboard(const std::string& bitmap_file) override;
  void CloseBillboard() override;
  bool ProcessMessages() override;
  void EndApplication() override;

 private:
  InstallationWindow& window_;
  ProgressDisplay& display_;
  std::string title_;
  TFontRecord font_;
  std::string setup_path_;
  std::unique_ptr<TfrmBillboard> billboard_;
};

}  // namespace kvb
