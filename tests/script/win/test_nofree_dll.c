/* A string export in a library without "freememory". */
#include <windows.h>

__declspec(dllexport) const char* __stdcall StaticText(void) { return "static text"; }
