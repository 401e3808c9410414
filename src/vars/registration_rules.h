// The portable rules of the system registration services: how a shared-DLL reference
// count is stored, and under which file name a font is registered.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvb {

// Registry value types a shared-DLL count may be stored as (the winnt.h numbers).
inline constexpr uint32_t kCountSz = 1;
inline constexpr uint32_t kCountBinary = 3;
inline constexpr uint32_t kCountDword = 4;

// The count a SharedDLLs value holds: REG_DWORD (4 bytes), REG_BINARY of 1 to 4 bytes
// (little-endian), or REG_SZ decimal text (up to its first zero; blanks around the digits
// are allowed). nullopt when the value cannot be converted (another type or size, no
// number, a number beyond 32 bits).
std::optional<int64_t> DecodeSharedCount(uint32_t type, std::string_view bytes);

// The bytes of a count written back in the type it was found in: REG_DWORD and
// REG_BINARY as 4 bytes, REG_SZ as decimal text with its terminating zero. Any other
// type is written as REG_DWORD; `type` is updated to the type used.
std::string EncodeSharedCount(uint32_t& type, int64_t count);

// The file name a font is registered under: the bare file name when the file lies
// directly in the fonts folder, else its full path.
std::string FontRegisteredName(std::string_view file, std::string_view fonts_folder);

}  // namespace kvb
