// The ActiveSync Remote API as this program calls it: the structures and the function
// types of "rapi.dll" (every string wide, every function __stdcall).
#pragma once

#include <windows.h>

namespace kvb {

inline constexpr HRESULT kRapiFailure = static_cast<HRESULT>(0x80004005);  // E_FAIL

struct RAPIINIT {
  DWORD cbSize;  // 12
  HANDLE heRapiInit;
  HRESULT hrRapiInit;
};

struct CE_FIND_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwOID;
  WCHAR cFileName[MAX_PATH];
};

struct CEOSVERSIONINFO {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
};

struct STORE_INFORMATION {
  DWORD dwStoreSize;
  DWORD dwFreeSize;
};

namespace rapi {
using CeRapiInitEx = HRESULT(WINAPI*)(RAPIINIT*);
using CeRapiUninit = HRESULT(WINAPI*)();
using CeGetVersionEx = BOOL(WINAPI*)(CEOSVERSIONINFO*);
using CeGetSystemInfo = void(WINAPI*)(SYSTEM_INFO*);
using CeGetStoreInformation = BOOL(WINAPI*)(STORE_INFORMATION*);
using CeCreateFile =
    HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
using CeReadFile = BOOL(WINAPI*)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
using CeWriteFile = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
using CeCloseHandle = BOOL(WINAPI*)(HANDLE);
using CeSetFilePointer = DWORD(WINAPI*)(HANDLE, LONG, PLONG, DWORD);
using CeGetFileSize = DWORD(WINAPI*)(HANDLE, LPDWORD);
using CeFindFirstFile = HANDLE(WINAPI*)(LPCWSTR, CE_FIND_DATA*);
using CeFindClose = BOOL(WINAPI*)(HANDLE);
using CeCreateDirectory = BOOL(WINAPI*)(LPCWSTR, LPSECURITY_ATTRIBUTES);
using CeRemoveDirectory = BOOL(WINAPI*)(LPCWSTR);
using CeDeleteFile = BOOL(WINAPI*)(LPCWSTR);
using CeCopyFile = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, BOOL);
using CeCreateProcess = BOOL(WINAPI*)(LPCWSTR,
                                      LPCWSTR,
                                      LPSECURITY_ATTRIBUTES,
                                      LPSECURITY_ATTRIBUTES,
                                      BOOL,
                                      DWORD,
                                      LPVOID,
                                      LPWSTR,
                                      LPSTARTUPINFOW,
                                      LPPROCESS_INFORMATION);
using CeRegOpenKeyEx = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY);
using CeRegCreateKeyEx = LONG(
    WINAPI*)(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD);
using CeRegCloseKey = LONG(WINAPI*)(HKEY);
using CeRegDeleteKey = LONG(WINAPI*)(HKEY, LPCWSTR);
using CeRegDeleteValue = LONG(WINAPI*)(HKEY, LPCWSTR);
using CeRegQueryValueEx = LONG(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
using CeRegSetValueEx = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);
}  // namespace rapi

}  // namespace kvb
