// Windows registry value types used by the setup (the winnt.h numbers), shared by the
// installation's registry changes and the scripts' registry commands.
#pragma once

#include <cstdint>

namespace kvb {

inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

}  // namespace kvb
