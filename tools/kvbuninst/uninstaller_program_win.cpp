#include "tools/kvbuninst/uninstaller_program_win.h"

#include <windows.h>

#include "base/unique_handle_win.h"
#include "tools/kvbuninst/running_copy_win.h"
#include "tools/kvbuninst/uninstaller_host_win.h"
#include "vars/com_init_win.h"

namespace kvb {
namespace {

constexpr char kAlreadyRunningText[] =
    "Another uninstaller is running. Start this one again when it has finished.";

int RemoveHere(const UninstallerOptions& options) {
  // Servers unregister themselves through COM.
  std::string com_error;
  const ComInitialization com = ComInitialization::Start(com_error);
  WinUninstallerHost host(options.Silent);
  const UninstallerOutcome outcome = RunUninstaller(options, host);
  if (!options.CopyOf.empty()) {
    ReportToOriginal(options, outcome.ExitCode);
    if (outcome.OriginalUnused)
      DeleteOriginalWhenEnded(options);
  }
  return outcome.ExitCode;
}

}  // namespace

int RunUninstallerProgram() {
  const UninstallerOptions options = ParseUninstallerCommandLine(GetCommandLineA());
  // The copy runs under the lock its original holds and hands on.
  if (!options.CopyOf.empty() || options.Help || !options.Error.empty())
    return RemoveHere(options);
  const UniqueHandle lock(CreateMutexA(nullptr, FALSE, kUninstallerMutexName));
  if (!lock.Valid() || GetLastError() == ERROR_ALREADY_EXISTS) {
    if (!options.Silent)
      MessageBoxA(nullptr, kAlreadyRunningText, kUninstallerTitle, MB_OK | MB_ICONSTOP);
    return kUninstallAlreadyRunning;
  }
  if (const std::optional<int> code = RunFromCopy(options, lock.Get()))
    return *code;
  return RemoveHere(options);
}

}  // namespace kvb
