// The stored form of the package's registry changes: the data text of a change turned
// into the bytes and the value type written to the registry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/registry_types.h"

namespace kvb {

// Value types of a registry change; any other stored value writes a multi-string.
enum RegChangeType : uint32_t {
  kRegChangeString = 0,
  kRegChangeInteger = 1,
  kRegChangeBinary = 2,
  kRegChangeMultiString = 3,
};

struct RegistryData {
  uint32_t Type = kRegSz;  // REG_ value type
  std::string Bytes;       // the value's bytes, terminating zeros included
  bool operator==(const RegistryData&) const = default;
};

// string: REG_SZ, the text and its zero. integer: REG_DWORD of the number made of the
// decimal digits of the text (every other character dropped, so "-5" gives 5; no digits
// give 0; a number above 4294967295 is held there). binary: REG_BINARY, one byte per
// blank-separated token read as hexadecimal (its leading hexadecimal digits, low 8 bits;
// a token without one gives 0); empty tokens from repeated blanks are skipped.
// multi-string: REG_MULTI_SZ, the text split at ';', each piece followed by a zero, the
// whole closed by a second zero.
RegistryData EncodeRegistryData(uint32_t change_type, std::string_view data);

}  // namespace kvb
