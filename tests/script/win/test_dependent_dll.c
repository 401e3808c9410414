/* A library that imports another one (script_test_nofree.dll), as a package's DLL may
   bring a helper DLL along; it tells which copy of the helper was loaded. */
#include <windows.h>

__declspec(dllimport) int HelperAnswer(void);

__attribute__((dllexport)) const char* __stdcall HelperPath(void) {
  static char path[MAX_PATH];
  if (HelperAnswer() != 42 ||
      !GetModuleFileNameA(GetModuleHandleA("script_test_nofree.dll"), path, MAX_PATH)) {
    return "";
  }
  return path;
}
