// Loading of DLLs that Windows does not always take from its own folder (version,
// uxtheme, riched20, sfc, wininet, rapi ...). A program's own folder is typically a
// download folder that holds whatever other sites dropped there, so such DLLs are never
// imported at load time and never searched for by name: they are loaded here, from the
// system folder only.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace kvb {

// Restricts the DLL search of the whole process to the system folder: with
// SetDefaultDllDirectories where the system has it, else by removing the current folder
// from the search (SetDllDirectory("")). Called first thing in every program's entry point.
void RestrictDllSearchPath();

// Loads a DLL that the package itself names by its full path (a script's DLL call):
// that file, with the DLLs it imports taken from its own folder and the system folder
// only, never from the program's or the current folder. nullptr when it cannot be loaded.
HMODULE LoadLibraryFromPath(const std::string& path);

// Move-only owner of a DLL loaded by full path from the system folder.
class SystemLibrary {
 public:
  SystemLibrary() = default;
  // Loads `file_name` (for example "version.dll") from the system folder; Loaded() is
  // false when it is missing or fails to load.
  explicit SystemLibrary(const char* file_name);
  // Loads a library that the program's manifest redirects to a side-by-side version
  // (comctl32 for common controls 6): by name with the search limited to the system
  // folder where the system offers that, since a full path bypasses the redirection;
  // by full path from the system folder elsewhere.
  static SystemLibrary SideBySide(const char* file_name);
  SystemLibrary(SystemLibrary&& other) noexcept : module_(std::exchange(other.module_, nullptr)) {}
  SystemLibrary& operator=(SystemLibrary&& other) noexcept;
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;
  ~SystemLibrary();

  bool Loaded() const { return module_ != nullptr; }
  HMODULE Module() const { return module_; }

  // The exported function `name` as a pointer of type F, or null when the library is not
  // loaded or does not export it.
  template <typename F>
  F Function(const char* name) const {
    if (!module_)
      return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  explicit SystemLibrary(HMODULE module) : module_(module) {}

  HMODULE module_ = nullptr;
};

}  // namespace kvb
