// Reads the file version of a Windows program or library from its version resource
// (the fixed part, VS_FIXEDFILEINFO), without any Windows service, so that the builder
// gives the same result on every platform.
#pragma once

#include <cstdint>
#include <optional>

#include "setupdata/byte_source.h"

namespace kvb::pack {

struct FileVersion {
  uint32_t high = 0;  // major << 16 | minor
  uint32_t low = 0;   // release << 16 | build
  bool operator==(const FileVersion&) const = default;
};

// The file version of a PE image (32- or 64-bit); nullopt when `source` is not a PE
// image, has no version resource, or is damaged. Every offset is checked before use.
std::optional<FileVersion> ReadPeFileVersion(ByteSource& source);

}  // namespace kvb::pack
