/* A library without self-registration. */
#include <windows.h>

__declspec(dllexport) int __stdcall Answer(void) {
  return 42;
}
