/* A self-registering library for the registration tests: DllRegisterServer writes
   HKCU\Software\KvbTests\Registered\Server = 1, DllUnregisterServer deletes the key. */
#include <windows.h>

static const char kKey[] = "Software\\KvbTests\\Registered";

__declspec(dllexport) HRESULT __stdcall DllRegisterServer(void) {
  HKEY key;
  DWORD one = 1;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_WRITE, NULL, &key, NULL) != 0)
    return E_FAIL;
  RegSetValueExA(key, "Server", 0, REG_DWORD, (const BYTE*)&one, sizeof one);
  RegCloseKey(key);
  return S_OK;
}

__declspec(dllexport) HRESULT __stdcall DllUnregisterServer(void) {
  RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
  return S_OK;
}
