// Closing the setup while the background window hosts the wizard: the background window
// decides, asking the user and the package's closing script through the wizard it hosts.
//
// The wizard's own close request goes through the same decision: the wizard sets the
// background window's closing mark to kBackFinishing when its finishing flag is set, asks
// the background window to close and closes only when that was agreed (the mark is then
// kBackClosed).
#pragma once

#include "vars/variables.h"

namespace kvb {

// The background window's closing mark.
enum BackClosingMark : int {
  kBackOpen = 0,
  kBackClosed = 1,     // closing agreed, the window closes
  kBackFinishing = 2,  // the wizard asks for a finishing close
};

// The wizard's state at the moment the setup is asked to close.
struct WizardCloseState {
  bool Exists = false;         // the wizard form exists
  bool EngineRunning = false;  // an installation engine is running
  bool Visible = false;        // the wizard form is shown
  bool OnLastPage = false;     // its current page is the package's last page
};

// What the background window needs of the wizard it hosts in order to close. The wizard
// (or a test) implements it.
class BackCloseHost {
 public:
  virtual ~BackCloseHost() = default;
  virtual WizardCloseState CloseState() = 0;
  // Asks message `number` of the package's table with Yes and No buttons, the question
  // icon and No as the default button; true when the user answers Yes.
  virtual bool AskYesNo(int number) = 0;
  // Stops the archive extraction of the running engine, when it is extracting.
  virtual void StopExtraction() = 0;
  // The wizard's finishing flag.
  virtual void SetFinishing(bool finishing) = 0;
  // Runs the package's closing script (global script slot 3).
  virtual void RunClosingScript() = 0;
  // Closing is final: the wizard's closing mark becomes 1 and a running engine is marked
  // aborted.
  virtual void ClosingAgreed() = 0;
  // Restarts Windows (the scripts asked for it and the setup is finishing).
  virtual void RestartWindows() = 0;
};

// Messages of the package's table asked when closing.
inline constexpr int kMsgExitSetup = 7;         // closing before the last page
inline constexpr int kMsgAbortInstallation = 9;  // closing while installing

// Decides whether the background window may close. Refused while the wizard is not
// ready. A finishing close (mark kBackFinishing) is agreed at once; otherwise it is agreed
// without a question when there is no wizard, the wizard is hidden or on the last page;
// while an engine runs the user is asked message 9 (Yes also stops the extraction), on
// any other page message 7. Once agreed, %CanClose% := "1" and %IsFinishingSetup% := "1"
// or "0", and the closing script runs: unless it sets %CanClose% to "0", the wizard is
// told that closing is agreed and, when finishing with %DoReboot% "1", Windows restarts;
// the mark becomes kBackClosed and the result is true. When the script refuses, the finishing flag is cleared, the mark
// goes back to kBackOpen (so the next close asks again) and the result is false. A
// refusal by the user leaves the mark as it was (it is kBackOpen then). Once the mark is
// kBackClosed, every further request is agreed at once, without questions or script.
bool BackCloseQuery(BackClosingMark& mark, bool wizard_ready, Variables& vars, BackCloseHost& host);

}  // namespace kvb
