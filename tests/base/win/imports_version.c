/* A program that imports version.dll at load time, which the import check must refuse. */
#include <windows.h>

int main(int argc, char** argv) {
  return argc > 1 ? (int)GetFileVersionInfoSizeA(argv[1], NULL) : 0;
}
