#include "ui/dialogs/disk_volume.h"

#include <cstdio>

#include "base/text.h"
#include "vars/variables.h"

namespace kvb {

std::string ExpectedVolumeFile(std::string_view folder, std::string_view setup_path, int disk) {
  std::string name = ExtractFileName(setup_path);
  const std::string extension = ExtractFileExt(name);
  name.resize(name.size() - extension.size());
  char number[16];
  std::snprintf(number, sizeof(number), "%03d", disk);
  return IncludeTrailingBackslash(folder) + name + "." + number;
}

std::string DiskText(std::string_view text, int disk) {
  return ReplaceAllText(text, "<disk>", std::to_string(disk));
}

}  // namespace kvb
