/* A string export in a library without "freememory", and a plain function that another
   test library imports. */
#include <windows.h>

__attribute__((dllexport)) const char* __stdcall StaticText(void) {
  return "static text";
}

__attribute__((dllexport)) int HelperAnswer(void) {
  return 42;
}
