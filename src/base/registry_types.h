// Windows registry value types used by the setup (the winnt.h numbers) and the form of a
// key path, shared by the installation's registry changes and the scripts' registry
// commands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kvb {

inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

// A key path as written in a package or a script, with one trailing and then one leading
// backslash removed.
inline std::string RegistryKeyPath(std::string_view key) {
  if (!key.empty() && key.back() == '\\')
    key.remove_suffix(1);
  if (!key.empty() && key.front() == '\\')
    key.remove_prefix(1);
  return std::string(key);
}

}  // namespace kvb
