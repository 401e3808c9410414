// kvbuninst.exe's run: the original refuses a second uninstaller and runs the removal
// from a copy of itself (running_copy_win.h); the copy, or the original when no copy can
// be made, runs the removal with the Windows host.
#pragma once

namespace kvb {

// Returns the exit code (UninstallerExit).
int RunUninstallerProgram();

}  // namespace kvb
