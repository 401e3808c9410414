#include "startup/temp_folder.h"

#include <cstdio>

#include "base/text.h"

namespace kvb {

std::string TempFolderCandidate(const std::string& temp_folder, int number) {
  char digits[16];
  std::snprintf(digits, sizeof(digits), "%03d", number);
  return IncludeTrailingBackslash(temp_folder) + "kvb" + digits;
}

std::string CreateTempSetupFolder(StartupHost& host) {
  const std::string base = host.TempFolder();
  if (base.empty())
    return {};  // never fall back to the root of the current drive
  for (int number = 1; number <= kMaxTempFolderCandidates; ++number) {
    const std::string candidate = TempFolderCandidate(base, number);
    if (host.CreateFolder(candidate) == FolderCreation::kCreated)
      return candidate;
  }
  return {};
}

}  // namespace kvb
