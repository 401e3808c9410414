// The version record of a file: the fixed part of its version resource.
#pragma once

#include <cstdint>
#include <string>

namespace kvb {

// The layout of the Windows VS_FIXEDFILEINFO record (thirteen 32-bit fields).
struct FixedFileVersion {
  uint32_t dwSignature = 0;
  uint32_t dwStrucVersion = 0;
  uint32_t dwFileVersionMS = 0;  // major << 16 | minor
  uint32_t dwFileVersionLS = 0;  // release << 16 | build
  uint32_t dwProductVersionMS = 0;
  uint32_t dwProductVersionLS = 0;
  uint32_t dwFileFlagsMask = 0;
  uint32_t dwFileFlags = 0;
  uint32_t dwFileOS = 0;
  uint32_t dwFileType = 0;
  uint32_t dwFileSubtype = 0;
  uint32_t dwFileDateMS = 0;
  uint32_t dwFileDateLS = 0;
};

// The four file-version numbers joined by '.', for example "2.0.50727.42".
std::string FormatFileVersion(const FixedFileVersion& version);

#ifdef _WIN32
// Reads the version record of `file`. False, with every field 0, when the file is
// missing or has no version resource.
bool GetFileVersion(const std::string& file, FixedFileVersion& version);
#endif

}  // namespace kvb
