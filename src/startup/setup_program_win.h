// The whole run of kvbsetup.exe, called from WinMain.
#pragma once

#include <windows.h>

namespace kvb {

// Runs the start-up sequence with the real application object and the program's own
// file; returns the process exit code (SetupExitCode).
int RunSetupProgram(HINSTANCE instance);

}  // namespace kvb
