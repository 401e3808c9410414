#include <windows.h>
void __stdcall start(void) {
  MessageBoxA(0, "Sample Suite 1.2 is installed.", "Sample Suite", MB_OK | MB_ICONINFORMATION);
  ExitProcess(0);
}
