// Runs driver steps against the windows of programs in the same Wine prefix (or on the
// same desktop). Every wait polls its condition until the step's time-out.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/driver/step.h"
#include "tools/driver/unique_handle_win.h"

namespace kvb::driver {

// The driver's exit status; tests assert on it.
enum DriverStatus : int {
  kStatusOk = 0,
  kStatusScriptError = 1,   // bad command line or script, or a step used out of order
  kStatusTimeout = 2,       // a window did not appear or go, a process did not end
  kStatusNotFound = 3,      // no such control, list item or program
  kStatusMismatch = 4,      // a text, check state or exit code differs from the expected
  kStatusActionFailed = 5,  // a message could not be delivered
};

// Prints why a step failed ("kvbdriver: line N: verb: what") and returns `status`.
DriverStatus Report(DriverStatus status, const Step& step, const std::string& what);

struct DriverOptions {
  DWORD timeout_ms = 10000;  // for steps without timeout=
  // With this set, `screenshot NAME` waits for a line on standard input after asking
  // for the picture, so the caller can take it while the windows stay as they are.
  bool screenshot_handshake = false;
};

class TDriver {
 public:
  explicit TDriver(DriverOptions options) : options_(options) {}

  // Runs the steps in order and stops at the first that fails, returning its status
  // after printing the reason on standard error.
  DriverStatus Run(const std::vector<Step>& steps);

 private:
  DriverStatus RunStep(const Step& step);
  DriverStatus Start(const Step& step);
  DriverStatus WaitWindow(const Step& step);
  DriverStatus WaitGone(const Step& step);
  DriverStatus Dump(const Step& step);
  DriverStatus ExpectText(const Step& step);
  DriverStatus ExpectIcon(const Step& step);
  DriverStatus Click(const Step& step);
  DriverStatus Type(const Step& step);
  DriverStatus Check(const Step& step);
  DriverStatus Select(const Step& step);
  DriverStatus WaitExit(const Step& step);
  DriverStatus Kill(const Step& step);
  DriverStatus Screenshot(const Step& step);

  DWORD TimeoutOf(const Step& step) const;
  // Waits up to the step's time-out for a visible, enabled control that the selector
  // picks; sets `control`, or returns the failure status (after reporting it).
  DriverStatus AwaitControl(const Step& step,
                            const ControlSelector& selector,
                            const std::string& default_classes,
                            HWND& control);
  bool NeedWindow(const Step& step);

  DriverOptions options_;
  HWND window_ = nullptr;  // the current window, set by wait-window
  UniqueHandle target_;    // the process started by `start`
  DWORD target_pid_ = 0;
};

}  // namespace kvb::driver
