// The uninstaller cannot delete its own file while it runs, so the program the
// installed-programs entry starts (the original) runs the removal from a copy of itself:
//
// - The copy is written under a new name into the original's own folder (the Windows
//   folder, where only administrators write, so nothing can be planted beside the copy or
//   swapped for it). The original opens it with delete-on-close and the copy inherits
//   that handle: the system deletes the copy once the copy has ended.
// - The original waits for the copy's exit code (through an inherited pipe) and ends with
//   it, so whoever started the uninstaller, and waits for it, learns the result when the
//   removal is done.
// - The copy then waits for the original to end and deletes it, when no other product's
//   uninstall command still names it.
#pragma once

#include <optional>
#include <string>

#include "tools/kvbuninst/uninstaller_options.h"

namespace kvb {

// The name of the process-wide lock that refuses a second uninstaller.
inline constexpr char kUninstallerMutexName[] = "KalvenbrookerUninstaller";

// In the original: starts the copy, with `lock` (an inheritable handle) handed on, and
// returns the copy's exit code once it has done its work; nullopt when no copy could be
// made or started, in which case nothing is left behind and the original removes in place.
std::optional<int> RunFromCopy(const UninstallerOptions& options, void* lock);

// In the copy: hands the exit code to the original.
void ReportToOriginal(const UninstallerOptions& options, int code);

// In the copy: waits (a bounded time) until the original has ended, then deletes it.
void DeleteOriginalWhenEnded(const UninstallerOptions& options);

// The running program's full path; "" when it cannot be found.
std::string OwnProgramPath();

}  // namespace kvb
