#include "install/install_rules.h"

#include <algorithm>

#include "base/text.h"

namespace kvb {

std::string ProgramIconName(std::string_view software_name) {
  std::string name(software_name);
  for (char& c : name) {
    if (std::string_view(".\\/:*?\"<>|,").find(c) != std::string_view::npos)
      c = '_';
  }
  return name + ".ico";
}

int SelectBillboard(int count, int percent) {
  if (count <= 0)
    return -1;
  if (percent <= 0)
    return 0;
  if (percent >= 100)
    return count - 1;
  const int width = 100 / count;
  for (int i = 0; i < count; ++i) {
    if (i * width + 1 <= percent && percent <= (i + 1) * width)
      return i;
  }
  return count - 1;
}

bool ComponentListSelected(std::string_view components, std::string_view selected) {
  if (components.empty())
    return true;
  const std::vector<std::string> chosen = SplitText(selected, "|");
  for (const std::string& name : SplitText(components, "|")) {
    if (name.empty())
      continue;
    for (const std::string& s : chosen) {
      if (SameText(name, s))
        return true;
    }
  }
  return false;
}

bool IsForbiddenInstallFolder(std::string_view folder,
                              std::string_view windows_folder,
                              std::string_view system_folder) {
  std::string f(folder);
  while (!f.empty() && (f.back() == '\\' || f.back() == '/'))
    f.pop_back();
  if (f.empty())
    return true;
  // "C:" (a drive root) or "\\server\share" (a network root).
  if (f.size() == 2 && f[1] == ':')
    return true;
  if (f.rfind("\\\\", 0) == 0 && SplitText(f.substr(2), "\\").size() <= 2)
    return true;
  for (std::string_view other : {windows_folder, system_folder}) {
    if (!other.empty() && SameText(f, ExcludeTrailingBackslash(other)))
      return true;
  }
  return false;
}

std::vector<std::string> HotSyncUserNames(std::string_view users) {
  std::vector<std::string> names;
  for (const std::string& name : SplitText(users, ", ")) {
    if (!name.empty())
      names.push_back(name);
  }
  return names;
}

bool IsCabName(std::string_view source_name, std::string_view cab_list) {
  const std::string name = ExtractFileName(source_name);
  for (const std::string& cab : SplitText(cab_list, "|")) {
    if (!cab.empty() && SameText(cab, name))
      return true;
  }
  return false;
}

std::vector<AppManagerGroup> GroupsInUse(
    const std::vector<TSetupDeviceFileGroup>& groups,
    const std::vector<TSetupInstallerFile>& files,
    const std::function<bool(const TSetupFile&)>& installs,
    const std::function<std::string(const std::string&)>& expand) {
  std::vector<AppManagerGroup> in_use;
  for (const TSetupDeviceFileGroup& group : groups) {
    const bool used = std::any_of(files.begin(), files.end(), [&](const TSetupInstallerFile& file) {
      return SameText(ExcludeTrailingBackslash(file.File.DestDir),
                      ExcludeTrailingBackslash(group.Folder)) &&
             IsCabName(file.File.SourceName, group.CabFiles) && installs(file.File);
    });
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

TUninstItem PathItem(uint8_t kind, std::string path) {
  TUninstItem item;
  item.Kind = kind;
  item.Path = std::move(path);
  return item;
}

TUninstItem FileItem(uint8_t kind, std::string path, TSetupFile file) {
  TUninstItem item = PathItem(kind, std::move(path));
  item.File = std::move(file);
  return item;
}

TUninstItem RegistryItem(TSetupRegChange change) {
  TUninstItem item;
  item.Kind = 5;
  item.RegChange = std::move(change);
  return item;
}

}  // namespace kvb
