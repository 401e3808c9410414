#include "uninstall/removal_machine_win.h"

#include <windows.h>

#include <shlwapi.h>

#include "vars/reg_key_win.h"
#include "vars/system_registration_win.h"

namespace kvb {
namespace {

constexpr char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

DWORD Attributes(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}

}  // namespace

bool WinRemovalMachine::FileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WinRemovalMachine::FolderExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WinRemovalMachine::RemoveFile(const std::string& path) {
  return DeleteFileForce(path);
}

bool WinRemovalMachine::RemoveEmptyFolder(const std::string& path) {
  const DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return true;
  // A read-only folder refuses to go on some systems.
  if (attributes & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  // RemoveDirectory removes only an empty folder (a junction goes without its target).
  return RemoveDirectoryA(path.c_str()) != 0;
}

bool WinRemovalMachine::ValueExists(RegRoot root, const std::string& key, const std::string& name) {
  RegKey reg;
  if (reg.Open(RootKey(root), key, KEY_QUERY_VALUE) != ERROR_SUCCESS)
    return false;
  return RegQueryValueExA(reg.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

bool WinRemovalMachine::DeleteValue(RegRoot root, const std::string& key, const std::string& name) {
  RegKey reg;
  const LONG opened = reg.Open(RootKey(root), key, KEY_SET_VALUE);
  if (opened == ERROR_FILE_NOT_FOUND)
    return true;
  if (opened != ERROR_SUCCESS)
    return false;
  const LONG rc = RegDeleteValueA(reg.Get(), name.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool WinRemovalMachine::KeyIsEmpty(RegRoot root, const std::string& key) {
  RegKey reg;
  if (reg.Open(RootKey(root), key, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS) != ERROR_SUCCESS)
    return false;
  DWORD subkeys = 0;
  DWORD values = 0;
  if (RegQueryInfoKeyA(reg.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return subkeys == 0 && values == 0;
}

bool WinRemovalMachine::DeleteKey(RegRoot root, const std::string& key) {
  // Only ever called for a key without subkeys: RegDeleteKey would take a whole tree on
  // Windows 95.
  return !key.empty() && RegDeleteKeyA(RootKey(root), key.c_str()) == ERROR_SUCCESS;
}

bool WinRemovalMachine::DeleteKeyTree(RegRoot root, const std::string& key) {
  if (key.empty())
    return false;
  const DWORD rc = SHDeleteKeyA(RootKey(root), key.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

std::optional<std::string> WinRemovalMachine::ReadString(RegRoot root,
                                                         const std::string& key,
                                                         const std::string& name) {
  RegKey reg;
  std::string value;
  if (reg.Open(RootKey(root), key, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
      reg.ReadString(name, value) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

std::vector<std::string> WinRemovalMachine::SubkeyNames(RegRoot root, const std::string& key) {
  std::vector<std::string> names;
  RegKey reg;
  if (reg.Open(RootKey(root), key, KEY_ENUMERATE_SUB_KEYS) != ERROR_SUCCESS)
    return names;
  for (DWORD index = 0;; ++index) {
    char name[256];  // the longest key name the registry allows is 255 characters
    DWORD length = sizeof(name);
    const LONG rc =
        RegEnumKeyExA(reg.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS)
      break;
    names.emplace_back(name, length);
  }
  return names;
}

int WinRemovalMachine::WindowsMajorVersion() {
  return LOBYTE(LOWORD(GetVersion()));
}

bool WinRemovalMachine::ReleaseSharedDll(const std::string& path) {
  return ReleaseSharedDllReference(path) &&
         ValueExists(RegRoot::kLocalMachine, kSharedDllsKey, path);
}

void WinRemovalMachine::UnregisterServer(const std::string& path) {
  kvb::UnregisterServer(path);
}

void WinRemovalMachine::UnregisterTypeLibrary(const std::string& path) {
  kvb::UnregisterTypeLibrary(path);
}

void WinRemovalMachine::RemoveFont(const std::string& path, const std::string& font_name) {
  kvb::RemoveFont(path, font_name);
}

}  // namespace kvb
