// What the device hands back in wide-character registry values: the device agent's
// answer (platform name, serial number) and the owner information.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kvb {

// Device strings are read with at most this many wide characters.
inline constexpr size_t kDeviceTextLimit = 8192;

// The wide text held by a registry value's bytes (little-endian UTF-16): up to its first
// NUL, at most kDeviceTextLimit characters; an odd last byte is ignored.
std::u16string WideValueText(std::span<const uint8_t> bytes);

// A field of the device's "Owner" value: field 0 (the name) starts at character 0,
// field 1 (the company) at character 36 on devices of major version 3 or higher, at 33
// on older ones. Each field ends at its first NUL; a value too short gives "".
std::u16string OwnerField(std::span<const uint8_t> owner, int field, int32_t major_version);

}  // namespace kvb
