// What the builder learns about a source file from the file system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "pe_version.h"

namespace kvb::pack {

struct FileFacts {
  uint64_t size = 0;
  int64_t modified = 0;                // seconds since 1970, UTC
  std::optional<FileVersion> version;  // from a PE version resource
};

// Size, modification time and version of a regular file; nullopt when it cannot be read.
std::optional<FileFacts> InspectFile(const std::string& path);

// `path` taken relative to `base_dir` unless it is absolute (or base_dir is empty).
std::string JoinPath(const std::string& base_dir, const std::string& path);

}  // namespace kvb::pack
