#include <vector>

#include "script/script_services_win.h"

namespace kvb {
namespace {

HKEY RootKey(RegistryRoot root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<uint32_t>(root)));
}

// Owns one open registry key.
class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() {
    if (key_)
      RegCloseKey(key_);
  }
  LONG Open(RegistryRoot root, const std::string& path, REGSAM access) {
    return RegOpenKeyExA(RootKey(root), path.c_str(), 0, access, &key_);
  }
  LONG Create(RegistryRoot root, const std::string& path) {
    return RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, &key_, nullptr);
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

class Win32Registry : public ScriptRegistry {
 public:
  std::optional<RegistryValue> ReadValue(RegistryRoot root,
                                         const std::string& key,
                                         const std::string& name) override {
    RegKey open;
    if (open.Open(root, key, KEY_ALL_ACCESS) != ERROR_SUCCESS)
      return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(open.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    RegistryValue value;
    value.Type = type;
    if (type != REG_SZ && type != REG_DWORD)
      return value;
    std::vector<BYTE> data(size + 1);
    if (RegQueryValueExA(open.get(), name.c_str(), nullptr, &type, data.data(), &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    if (type == REG_DWORD && size >= 4) {
      value.Number = data[0] | data[1] << 8 | data[2] << 16 | uint32_t{data[3]} << 24;
    } else {
      // The text ends at its first zero, which the stored data may lack.
      const char* text = reinterpret_cast<const char*>(data.data());
      value.Text.assign(text, strnlen(text, size));
    }
    return value;
  }

  bool ValueExists(RegistryRoot root, const std::string& key, const std::string& name) override {
    RegKey open;
    return open.Open(root, key, KEY_READ) == ERROR_SUCCESS &&
           RegQueryValueExA(open.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
  }

  bool WriteString(RegistryRoot root,
                   const std::string& key,
                   const std::string& name,
                   const std::string& text) override {
    RegKey open;
    return open.Create(root, key) == ERROR_SUCCESS &&
           RegSetValueExA(open.get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  }

  bool WriteDword(RegistryRoot root,
                  const std::string& key,
                  const std::string& name,
                  uint32_t value) override {
    RegKey open;
    const DWORD data = value;
    return open.Create(root, key) == ERROR_SUCCESS &&
           RegSetValueExA(open.get(), name.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
  }

  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override {
    RegKey open;
    return open.Open(root, key, KEY_ALL_ACCESS) == ERROR_SUCCESS &&
           RegDeleteValueA(open.get(), name.c_str()) == ERROR_SUCCESS;
  }

  bool DeleteKey(RegistryRoot root, const std::string& key) override {
    if (key.empty())
      return false;  // never the root itself
    return RegDeleteKeyA(RootKey(root), key.c_str()) == ERROR_SUCCESS;
  }
};

}  // namespace

std::unique_ptr<ScriptRegistry> CreateWin32Registry() {
  return std::make_unique<Win32Registry>();
}

}  // namespace kvb
