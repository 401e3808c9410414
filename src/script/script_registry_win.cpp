#include "script/script_services_win.h"
#include "vars/reg_key_win.h"

namespace kvb {
namespace {

HKEY RootKey(RegistryRoot root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<uint32_t>(root)));
}

class Win32Registry : public ScriptRegistry {
 public:
  std::optional<RegistryValue> ReadValue(RegistryRoot root,
                                         const std::string& key,
                                         const std::string& name) override {
    // Read access only: a user who may not write the key still reads what is there.
    RegKey open;
    if (open.Open(RootKey(root), key, KEY_READ) != ERROR_SUCCESS)
      return std::nullopt;
    DWORD type = 0;
    if (RegQueryValueExA(open.Get(), name.c_str(), nullptr, &type, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    RegistryValue value;
    value.Type = type;
    if (type == REG_SZ && open.ReadString(name, value.Text) != ERROR_SUCCESS)
      return std::nullopt;
    if (type == REG_DWORD) {
      DWORD number = 0;
      if (open.ReadDword(name, number) != ERROR_SUCCESS)
        return std::nullopt;
      value.Number = number;
    }
    return value;
  }

  bool ValueExists(RegistryRoot root, const std::string& key, const std::string& name) override {
    RegKey open;
    return open.Open(RootKey(root), key, KEY_READ) == ERROR_SUCCESS &&
           RegQueryValueExA(open.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
  }

  bool WriteString(RegistryRoot root,
                   const std::string& key,
                   const std::string& name,
                   const std::string& text) override {
    RegKey open;
    return open.Create(RootKey(root), key, KEY_ALL_ACCESS) == ERROR_SUCCESS &&
           RegSetValueExA(open.Get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  }

  bool WriteDword(RegistryRoot root,
                  const std::string& key,
                  const std::string& name,
                  uint32_t value) override {
    RegKey open;
    const DWORD data = value;
    return open.Create(RootKey(root), key, KEY_ALL_ACCESS) == ERROR_SUCCESS &&
           RegSetValueExA(open.Get(), name.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
  }

  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override {
    RegKey open;
    return open.Open(RootKey(root), key, KEY_ALL_ACCESS) == ERROR_SUCCESS &&
           RegDeleteValueA(open.Get(), name.c_str()) == ERROR_SUCCESS;
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
