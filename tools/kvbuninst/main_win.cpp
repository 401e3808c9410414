// Entry point of kvbuninst.exe; the run lives in the uninstaller's library.
#include <windows.h>

#include "base/system_library_win.h"
#include "tools/kvbuninst/uninstaller_program_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL by name: never from the program's own folder.
  kvb::RestrictDllSearchPath();
  return kvb::RunUninstallerProgram();
}
