/* Started by the RUN test: waits a little, then creates the file named by its argument. */
#include <windows.h>

int main(int argc, char** argv) {
  if (argc < 2)
    return 1;
  Sleep(300);
  HANDLE file = CreateFileA(argv[1], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (file == INVALID_HANDLE_VALUE)
    return 2;
  CloseHandle(file);
  return 0;
}
