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

// While alive, everyone (the owner included) may only read the key: opening it for
// writing fails with ERROR_ACCESS_DENIED. Full access comes back on destruction, so that
// the scratch key can be deleted.
class ReadOnlyKey {
 public:
  ReadOnlyKey(HKEY root, const std::string& path) : root_(root), path_(path) {
    ok_ = SetAccess(KEY_READ);
  }
  ~ReadOnlyKey() { SetAccess(KEY_ALL_ACCESS); }
  ReadOnlyKey(const ReadOnlyKey&) = delete;
  ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;
  bool ok() const { return ok_; }

 private:
  bool SetAccess(DWORD mask) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
      return false;
    alignas(DWORD) BYTE acl_bytes[256];
    auto* acl = reinterpret_cast<PACL>(acl_bytes);
    SECURITY_DESCRIPTOR descriptor;
    bool ok = InitializeAcl(acl, sizeof(acl_bytes), ACL_REVISION) &&
              AddAccessAllowedAce(acl, ACL_REVISION, mask, everyone) &&
              InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    FreeSid(everyone);
    HKEY key = nullptr;
    if (!ok || RegOpenKeyExA(root_, path_.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS)
      return false;
    ok = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
  }

  HKEY root_;
  std::string path_;
  bool ok_ = false;
};

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
