// Template part of install_rules.h.
#pragma once

#include "base/text.h"

namespace kvb {

template <typename Installs, typename Expand>
std::vector<AppManagerGroup> GroupsInUse(const std::vector<TSetupDeviceFileGroup>& groups,
                                         const std::vector<TSetupInstallerFile>& files,
                                         Installs installs,
                                         Expand expand) {
  std::vector<AppManagerGroup> in_use;
  for (const TSetupDeviceFileGroup& group : groups) {
    bool used = false;
    for (const TSetupInstallerFile& file : files) {
      if (SameText(file.File.DestDir, group.Folder) &&
          IsCabName(file.File.SourceName, group.CabFiles) && installs(file.File)) {
        used = true;
        break;
      }
    }
    if (!used)
      continue;
    AppManagerGroup g{group.Name, group.Text3, expand(group.Folder), {}};
    for (const std::string& cab : SplitText(group.CabFiles, "|")) {
      if (!cab.empty())
        g.CabFiles.push_back(cab);
    }
    in_use.push_back(std::move(g));
  }
  return in_use;
}

}  // namespace kvb
