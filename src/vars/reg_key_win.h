// A registry key that closes itself. Move-only; operations return the Win32 code.
#pragma once

#include <windows.h>

#include <string>

#include "vars/variable_loading.h"

namespace kvb {

// The predefined key of a root.
HKEY RootKey(RegRoot root);

class RegKey {
 public:
  RegKey() = default;
  ~RegKey() { Close(); }
  RegKey(RegKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
  RegKey& operator=(RegKey&& other) noexcept;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  // Opens an existing key (never creates it); the object stays closed on failure.
  LONG Open(HKEY root, const std::string& path, REGSAM access);
  // Opens the key, creating it and its missing parents.
  LONG Create(HKEY root, const std::string& path, REGSAM access);
  void Close();

  bool Valid() const { return key_ != nullptr; }
  HKEY Get() const { return key_; }

  // A REG_SZ or REG_EXPAND_SZ value as stored (environment references stay), cut at
  // its first zero. ERROR_UNSUPPORTED_TYPE for values of any other type.
  LONG ReadString(const std::string& name, std::string& value) const;
  // A REG_DWORD value of four bytes; ERROR_UNSUPPORTED_TYPE for anything else.
  LONG ReadDword(const std::string& name, DWORD& value) const;

 private:
  HKEY key_ = nullptr;
};

}  // namespace kvb
