// Entry point of kvbsetup.exe; the run itself lives in the start-up library.
#include <windows.h>

#include "base/system_library_win.h"
#include "startup/setup_program_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL by name: never from the setup's own (download) folder.
  kvb::RestrictDllSearchPath();
  return kvb::RunSetupProgram(instance);
}
