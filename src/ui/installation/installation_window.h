// What the installation run (command 23), the removal of a product (command 58) and the
// download progress need of the wizard form. The wizard form implements it; tests
// implement it with a small form of their own.
//
// The run owns everything else it needs (the engine, the copying-progress window, the
// prompts, the installed flag); the form only shows pages, reports progress on its page
// panel, moves itself, decides about closing and runs the package's global scripts. All
// calls are made on the user-interface thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "install/install_host.h"

namespace kvb {

class TKalvenbrookerInstall;

// Global script slots the run executes through RunGlobalScript.
enum GlobalScriptSlot : int {
  kScriptBeforeInstall = 1,
  kScriptAfterInstall = 2,
};

class InstallationWindow {
 public:
  virtual ~InstallationWindow() = default;

  // The form's window: owner of the prompts, the billboard and (with a background
  // window) the copying-progress window.
  virtual HWND Handle() const = 0;
  // The application window: owner of the copying-progress window when there is no
  // background window.
  virtual HWND ApplicationHandle() const = 0;

  // Pages. ShowPage leaves the current page and shows the named one (its leave, before,
  // built and shown scripts run); false when the page does not exist or a script kept the
  // wizard where it was.
  virtual bool ShowPage(const std::string& name) = 0;
  // Name of the page shown now; "" before the first page.
  virtual std::string CurrentPageName() const = 0;
  // Name of the page that was current when "INSTALL" was entered.
  virtual std::string PageBeforeInstall() const = 0;

  // The progress display of the page panel: kStatusLine and kDetailLine set the labels of
  // the status and detail roles, kPosition and kMaximum every progress bar; the panel is
  // repainted at once.
  virtual void ShowProgress(StatusKind kind, const std::string& text, int value) = 0;

  // The form itself. MoveTo places its outer rectangle's top-left corner in screen
  // coordinates, keeping its size.
  virtual void ShowForm() = 0;
  virtual void HideForm() = 0;
  virtual void CenterOnScreen() = 0;
  virtual void MoveTo(int left, int top) = 0;

  // The full-screen background window, when the package uses one.
  virtual bool HasBackWindow() const = 0;
  virtual void ShowBackWindow(bool visible) = 0;

  // Runs the form's close query as its Cancel button does (the confirmation, the closing
  // script). True when closing was agreed: the form has then aborted the running engine
  // and the program ends once the current command returns.
  virtual bool RequestClose() = 0;
  // Closing was agreed (the closing mark is set).
  virtual bool ClosingAgreed() const = 0;

  // The engine that runs now, or nullptr: the close query aborts it when closing is
  // agreed, and agrees at once when it is already aborted.
  virtual void SetEngine(TKalvenbrookerInstall* engine) = 0;
  // Set while a product is being removed: the form's Cancel command then finishes the
  // setup instead of asking.
  virtual void SetUninstalling(bool uninstalling) = 0;

  // Kilobytes free on the drive of %InstallDir% (the form reports a drive it cannot
  // query itself), and the bytes the selected components need.
  virtual uint64_t FreeSpace() = 0;
  virtual uint64_t RequiredSpace() = 0;
  // Ends the program without asking or running the closing script (too little space).
  virtual void EndProgram() = 0;

  // Runs the package's global script `slot`. False when it was stopped and %CanClose% is
  // not "0" (the caller then stops); true otherwise.
  virtual bool RunGlobalScript(int slot) = 0;
};

}  // namespace kvb
