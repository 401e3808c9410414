#include "vars/registry_reader_win.h"

#include "vars/reg_key_win.h"

namespace kvb {

std::optional<std::string> WinRegistryReader::ReadString(RegRoot root,
                                                         std::string_view key,
                                                         std::string_view value_name) {
  RegKey reg;
  if (reg.Open(RootKey(root), std::string(key), KEY_ALL_ACCESS) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::string value;
  if (reg.ReadString(std::string(value_name), value) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

}  // namespace kvb
