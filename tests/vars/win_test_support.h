// Scratch registry keys for the Win32 tests: a per-process key under HKEY_CURRENT_USER
// that is removed again, and a stand-in for HKEY_LOCAL_MACHINE inside this process.
#pragma once

#include <shlwapi.h>
#include <windows.h>

#include <string>

#include "vars/windows_machine_win.h"

namespace kvb {

// Creates HKCU\Software\KvbTests\<name>-<process id>; deletes it with its subkeys.
class ScratchKey {
 public:
  explicit ScratchKey(const std::string& name)
      : path_("Software\\KvbTests\\" + name + "-" + std::to_string(GetCurrentProcessId())) {
    SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
  }
  ~ScratchKey() {
    if (key_)
      RegCloseKey(key_);
    SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
  }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  HKEY key() const { return key_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  HKEY key_ = nullptr;
};

// While alive, HKEY_LOCAL_MACHINE of this process is an empty scratch key, so tests can
// lay out machine keys without touching the machine.
class ScratchLocalMachine {
 public:
  ScratchLocalMachine() : scratch_("hklm") {
    ok_ =
        scratch_.key() && RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch_.key()) == ERROR_SUCCESS;
  }
  ~ScratchLocalMachine() { RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr); }
  bool ok() const { return ok_; }

 private:
  ScratchKey scratch_;
  bool ok_ = false;
};

inline void SetString(HKEY root,
                      const std::string& key,
                      const std::string& name,
                      const std::string& value,
                      DWORD type = REG_SZ) {
  HKEY handle = nullptr;
  RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
  RegSetValueExA(handle, name.empty() ? nullptr : name.c_str(), 0, type,
                 reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
}

inline void SetDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
  HKEY handle = nullptr;
  RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
  RegSetValueExA(handle, name.empty() ? nullptr : name.c_str(), 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&value), sizeof(value));
  RegCloseKey(handle);
}

inline WindowsMachineOptions AdminOptions(bool admin) {
  WindowsMachineOptions options;
  options.IsAdmin = admin;
  return options;
}

// A string value read directly, "" when absent.
inline std::string RawString(HKEY root, const std::string& key, const std::string& name) {
  char buffer[1024] = {};
  DWORD size = sizeof(buffer) - 1;
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return {};
  const LONG rc = RegQueryValueExA(handle, name.c_str(), nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(handle);
  return rc == ERROR_SUCCESS ? std::string(buffer) : std::string();
}

}  // namespace kvb
