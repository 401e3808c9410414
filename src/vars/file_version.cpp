#include "vars/file_version.h"

namespace kvb {

std::string FormatFileVersion(const FixedFileVersion& version) {
  return std::to_string(version.dwFileVersionMS >> 16) + "." +
         std::to_string(version.dwFileVersionMS & 0xFFFF) + "." +
         std::to_string(version.dwFileVersionLS >> 16) + "." +
         std::to_string(version.dwFileVersionLS & 0xFFFF);
}

}  // namespace kvb
