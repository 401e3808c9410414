#include "vars/reg_key_win.h"

#include <algorithm>
#include <vector>

namespace kvb {

HKEY RootKey(RegRoot root) {
  switch (root) {
    case RegRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegRoot::kCurrentUser:
      break;
  }
  return HKEY_CURRENT_USER;
}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
  if (this != &other) {
    Close();
    key_ = other.key_;
    other.key_ = nullptr;
  }
  return *this;
}

LONG RegKey::Open(HKEY root, const std::string& path, REGSAM access) {
  Close();
  return RegOpenKeyExA(root, path.c_str(), 0, access, &key_);
}

LONG RegKey::Create(HKEY root, const std::string& path, REGSAM access) {
  Close();
  return RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                         &key_, nullptr);
}

void RegKey::Close() {
  if (key_)
    RegCloseKey(key_);
  key_ = nullptr;
}

LONG RegKey::ReadString(const std::string& name, std::string& value) const {
  // The value may grow between asking its size and reading it: try again a few times.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS)
      return rc;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
      return ERROR_UNSUPPORTED_TYPE;
    std::vector<char> data(size + 1, '\0');
    rc = RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                          &size);
    if (rc == ERROR_MORE_DATA)
      continue;
    if (rc != ERROR_SUCCESS)
      return rc;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
      return ERROR_UNSUPPORTED_TYPE;
    value.assign(data.data(), std::min<size_t>(size, data.size() - 1));
    const size_t zero = value.find('\0');
    if (zero != std::string::npos)
      value.resize(zero);
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

LONG RegKey::ReadDword(const std::string& name, DWORD& value) const {
  DWORD type = 0;
  DWORD data = 0;
  DWORD size = sizeof(data);
  const LONG rc =
      RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
  if (rc == ERROR_MORE_DATA)
    return ERROR_UNSUPPORTED_TYPE;
  if (rc != ERROR_SUCCESS)
    return rc;
  if (type != REG_DWORD || size != sizeof(data))
    return ERROR_UNSUPPORTED_TYPE;
  value = data;
  return ERROR_SUCCESS;
}

}  // namespace kvb
