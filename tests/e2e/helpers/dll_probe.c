/* Loads uxtheme.dll by name without restricting the search, as programs did before: a
   planted copy beside it is taken. Shows that the planting test sees what it looks for. */
#include <windows.h>

int main(void) {
  return LoadLibraryA("uxtheme.dll") ? 0 : 1;
}
