#include "devices/app_manager_files.h"

#include "base/text.h"

namespace kvb {
namespace {

constexpr std::string_view kRule = ";==================================================";

bool IsUnsafe(char c) {
  return std::string_view("\\/:*?\"<>|,").find(c) != std::string_view::npos;
}

std::vector<std::string> CabNames(const TSetupDeviceFileGroup& group) {
  std::vector<std::string> names;
  for (std::string& name : SplitText(group.CabFiles, "|")) {
    if (!name.empty())
      names.push_back(std::move(name));
  }
  return names;
}

std::string DescriptionFileName(const TSetupDeviceFileGroup& group) {
  return FileSafe(group.Name, true, true) + ".ini";
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

}  // namespace

std::string FileSafe(std::string_view text, bool keep_dots, bool keep_blanks) {
  std::string safe(text);
  for (char& c : safe) {
    if (IsUnsafe(c) || (c == '.' && !keep_dots) || (c == ' ' && !keep_blanks))
      c = '_';
  }
  return safe;
}

std::vector<TSetupDeviceFileGroup> DeviceFileGroups(const TSetupData& data) {
  std::vector<TSetupDeviceFileGroup> groups;
  TSetupDeviceFileGroup own = data.Properties.DeviceGroup;
  own.Name = data.Properties.SoftwareName;
  own.Text3 = data.Properties.Comments;
  groups.push_back(std::move(own));
  groups.insert(groups.end(), data.DeviceGroups.begin(), data.DeviceGroups.end());
  return groups;
}

bool IsGroupCab(const TSetupDeviceFileGroup& group, const TSetupFile& file) {
  if (!SameText(ExcludeTrailingBackslash(group.Folder), ExcludeTrailingBackslash(file.DestDir)))
    return false;
  const std::string name = ExtractFileName(file.SourceName);
  for (const std::string& cab : CabNames(group)) {
    if (SameText(cab, name))
      return true;
  }
  return false;
}

bool GroupInUse(const TSetupDeviceFileGroup& group,
                const std::vector<TSetupInstallerFile>& files,
                const FileSelection& selected) {
  for (const TSetupInstallerFile& file : files) {
    if (IsGroupCab(group, file.File) && selected(file.File))
      return true;
  }
  return false;
}

std::string AppManagerFileText(const TSetupDeviceFileGroup& group,
                               const AppManagerFacts& facts,
                               bool first) {
  std::vector<std::string> lines = {
      std::string(kRule),
      "; " + DescriptionFileName(group),
      ";",
      "; Application Manager description written by Kalvenbrooker Setup.",
      "; Kalvenbrooker Setup and its runtime are the property of their authors;",
      "; the packages it builds belong to their publishers.",
      ";",
      "; Setup created by " + facts.CompanyName + " with",
      "; Kalvenbrooker Setup, the installer for Windows desktops and handhelds.",
      std::string(kRule),
      "",
      "[CEAppManager]",
      "Version = 1.0",
      "Component = " + group.Name,
      "",
      "[" + group.Name + "]",
      "Description = " + Quoted(group.Text3),
  };
  if (first)
    lines.push_back("Uninstall = " + Quoted(facts.CompanyName + " " + group.Name));
  if (!facts.IconPath.empty())
    lines.push_back("IconFile = " + Quoted(ExtractFileName(facts.IconPath)));
  lines.push_back("CabFiles = " + JoinText(CabNames(group), ","));
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  return text;
}

std::vector<AppManagerFile> PlanAppManagerFiles(
    const TSetupData& data,
    const FileSelection& selected,
    const std::function<std::string(const std::string&)>& expand,
    const AppManagerFacts& facts) {
  std::vector<AppManagerFile> plan;
  for (const TSetupDeviceFileGroup& group : DeviceFileGroups(data)) {
    if (!GroupInUse(group, data.DeviceFiles, selected))
      continue;
    AppManagerFile file;
    file.Path = IncludeTrailingBackslash(expand(group.Folder)) + DescriptionFileName(group);
    file.Text = AppManagerFileText(group, facts, plan.empty());
    plan.push_back(std::move(file));
  }
  return plan;
}

std::string AppManagerArguments(const std::vector<std::string>& paths) {
  std::vector<std::string> quoted;
  for (const std::string& path : paths)
    quoted.push_back(Quoted(path));
  return JoinText(quoted, " ");
}

}  // namespace kvb
