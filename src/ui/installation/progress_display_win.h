// Where an installation, a product's removal or a download shows its progress: the
// wizard's "INSTALL" page, or, for packages without that page, the copying-progress
// window that stands in for the wizard form meanwhile.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "install/install_host.h"
#include "setupdata/records.h"
#include "ui/installation/installation_window.h"
#include "ui/wizard/page_order.h"  // kInstallPageName

namespace kvb {

class TfrmCopyingFiles;

// How the copying window looks: its caption, the package's default font and whether
// billboard pictures will stand above it.
struct CopyingWindowLook {
  std::string Caption;
  TFontRecord Font;
  bool Billboards = false;
};

class ProgressDisplay {
 public:
  ProgressDisplay(InstallationWindow& window, CopyingWindowLook look);
  ~ProgressDisplay();
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

  // Shows the page "INSTALL" (or keeps it when it is shown already) with the progress
  // at 0 of 100; false when there is none or its scripts kept the wizard where it was.
  bool ShowInstallPage();
  // Shows the copying window in place of the wizard form (hidden meanwhile): centred
  // horizontally, low on the screen when billboards are shown, else centred; on top of
  // the wizard when a background window is used. Its button runs the wizard's close
  // query.
  void ShowCopyingWindow(const std::string& button_caption, bool button_enabled);
  bool UsesCopyingWindow() const { return copying_ != nullptr; }

  // A status report of kind 0-3 to the page or the copying window.
  void Status(StatusKind kind, const std::string& text, int value = 0);

  // The window the user sees the progress in: owner of the prompts.
  HWND Owner() const;
  // The screen position of that window's upper edge (billboards stand above it).
  int Top() const;

  void HideCopyingWindow();
  // Frees the copying window (the wizard form stays as it is).
  void CloseCopyingWindow();

 private:
  InstallationWindow& window_;
  CopyingWindowLook look_;
  std::unique_ptr<TfrmCopyingFiles> copying_;
};

}  // namespace kvb
