/* A DLL planted beside a program, as a download folder may hold one: when any process
   loads it, it leaves a mark beside itself, NAME.dll.loaded, holding "static" when it was
   loaded at process start (an import) or "dynamic" when a running program loaded it.
   It exports nothing and imports only kernel32. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason != DLL_PROCESS_ATTACH)
    return TRUE;
  char path[MAX_PATH + 16];
  const DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return TRUE;
  lstrcatA(path, ".loaded");
  HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (mark != INVALID_HANDLE_VALUE) {
    const char* how = reserved ? "static" : "dynamic";
    DWORD written = 0;
    WriteFile(mark, how, lstrlenA(how), &written, NULL);
    CloseHandle(mark);
  }
  return TRUE;
}
