// Entry point of kvbsetup.exe; the run itself lives in the start-up library.
#include <windows.h>

#include "startup/setup_program_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return kvb::RunSetupProgram(instance);
}
