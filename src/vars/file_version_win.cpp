#include <windows.h>

#include <cstring>
#include <vector>

#include "vars/file_version.h"

namespace kvb {

static_assert(sizeof(FixedFileVersion) == sizeof(VS_FIXEDFILEINFO));

bool GetFileVersion(const std::string& file, FixedFileVersion& version) {
  version = FixedFileVersion{};
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
  if (size == 0)
    return false;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(file.c_str(), 0, size, block.data()))
    return false;
  void* fixed = nullptr;
  UINT length = 0;
  char root[] = "\\";
  if (!VerQueryValueA(block.data(), root, &fixed, &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return false;
  }
  std::memcpy(&version, fixed, sizeof(version));
  return true;
}

}  // namespace kvb
