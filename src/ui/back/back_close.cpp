#include "ui/back/back_close.h"

namespace kvb {

namespace {

// The user's or the state's answer before the closing script is asked.
bool CloseAgreed(bool finishing, BackCloseHost& host) {
  if (finishing)
    return true;
  const WizardCloseState state = host.CloseState();
  if (!state.Exists)
    return true;
  if (state.EngineRunning) {
    if (!host.AskYesNo(kMsgAbortInstallation))
      return false;
    host.StopExtraction();
    return true;
  }
  if (!state.Visible || state.OnLastPage)
    return true;
  return host.AskYesNo(kMsgExitSetup);
}

}  // namespace

bool BackCloseQuery(BackClosingMark& mark, bool wizard_ready, Variables& vars, BackCloseHost& host) {
  if (mark == kBackClosed)
    return true;
  if (!wizard_ready)
    return false;
  const bool finishing = mark == kBackFinishing;
  host.SetFinishing(finishing);
  if (!CloseAgreed(finishing, host))
    return false;
  vars.SetVariable("%CanClose%", "1");
  vars.SetVariable("%IsFinishingSetup%", finishing ? "1" : "0");
  host.RunClosingScript();
  if (vars.ExpandText("%CanClose%") == "0") {
    host.SetFinishing(false);
    mark = kBackOpen;
    return false;
  }
  mark = kBackClosed;
  host.ClosingAgreed();
  if (finishing && vars.ExpandText("%DoReboot%") == "1")
    host.RestartWindows();
  return true;
}

}  // namespace kvb
