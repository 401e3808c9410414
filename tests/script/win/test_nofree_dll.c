/* A string export in a library without "freememory". */
#include <windows.h>

__attribute__((dllexport)) const char* __stdcall StaticText(void) {
  return "static text";
}
