// Entry point of kvbsetup.exe; the run itself lives in the start-up library.
#include <windows.h>

#include "base/system_library_win.h"
#include "startup/setup_program_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL by name: never from the setup's own (download) folder.
  kvb::RestrictDllSearchPath();
  // With common controls 6 (the program's manifest) Windows loads the visual-styles
  // library by name once windows appear, and Wine's loader does not keep that to the
  // system folder. Loaded first from there, the name is taken and stays taken.
  const kvb::SystemLibrary visual_styles("uxtheme.dll");
  return kvb::RunSetupProgram(instance);
}
