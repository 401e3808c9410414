#include "base/system_library_win.h"

#include <string>

namespace kvb {

namespace {

// Flags of SetDefaultDllDirectories and LoadLibraryEx that the XP-level headers lack.
constexpr DWORD kSearchSystem32 = 0x00000800;    // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD kSearchDllLoadDir = 0x00000100;  // LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

// Present where the system knows the LOAD_LIBRARY_SEARCH flags (Windows 8, and Windows
// Vista and 7 with their DLL-search update).
SetDefaultDllDirectoriesFn SetDefaultDllDirectoriesFunction() {
  return reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
}

std::string SystemFolder() {
  char buffer[MAX_PATH];
  const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return {};
  return std::string(buffer, length);
}

}  // namespace

void RestrictDllSearchPath() {
  const SetDefaultDllDirectoriesFn set_default = SetDefaultDllDirectoriesFunction();
  if (set_default && set_default(kSearchSystem32))
    return;
  SetDllDirectoryA("");
}

HMODULE LoadLibraryFromPath(const std::string& path) {
  if (SetDefaultDllDirectoriesFunction())
    return LoadLibraryExA(path.c_str(), nullptr, kSearchDllLoadDir | kSearchSystem32);
  // The library's own folder first, then the system's; the current folder is out of the
  // search since RestrictDllSearchPath.
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

SystemLibrary::SystemLibrary(const char* file_name) {
  const std::string folder = SystemFolder();
  if (folder.empty())
    return;
  const std::string path = folder + "\\" + file_name;
  // The full path decides which file is loaded; the altered search order makes the DLLs
  // that this one imports come from its own (the system) folder as well.
  module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

SystemLibrary SystemLibrary::SideBySide(const char* file_name) {
  if (SetDefaultDllDirectoriesFunction())
    return SystemLibrary(LoadLibraryExA(file_name, nullptr, kSearchSystem32));
  return SystemLibrary(file_name);
}

SystemLibrary& SystemLibrary::operator=(SystemLibrary&& other) noexcept {
  if (this != &other) {
    if (module_)
      FreeLibrary(module_);
    module_ = std::exchange(other.module_, nullptr);
  }
  return *this;
}

SystemLibrary::~SystemLibrary() {
  if (module_)
    FreeLibrary(module_);
}

}  // namespace kvb
