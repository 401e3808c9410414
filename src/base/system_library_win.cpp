#include "base/system_library_win.h"

#include <string>

namespace kvb {

namespace {

// Flags of SetDefaultDllDirectories and LoadLibraryEx that the XP-level headers lack.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

std::string SystemFolder() {
  char buffer[MAX_PATH];
  const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return {};
  return std::string(buffer, length);
}

}  // namespace

void RestrictDllSearchPath() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const auto set_default = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (set_default && set_default(kSearchSystem32))
    return;
  SetDllDirectoryA("");
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
