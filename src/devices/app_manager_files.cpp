#include "devices/app_manager_files.h"

#include "base/text.h"

namespace kvb {
namespace {

constexpr std::string_view kRule = ";==================================================";

bool IsUnsafe(char c) {
  return std::string_view("\\/:*?\"<>|,").find(c) != std::string_view::npos;
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

std::string AppManagerFilePath(const AppManagerGroup& group) {
  return IncludeTrailingBackslash(group.Folder) + FileSafe(group.Name, true, true) + ".ini";
}

std::string AppManagerFileText(const AppManagerGroup& group,
                               const std::string& company_name,
                               const std::string& icon_path,
                               bool first) {
  std::vector<std::string> lines = {
      std::string(kRule),
      "; " + FileSafe(group.Name, true, true) + ".ini",
      ";",
      "; Application Manager description written by Kalvenbrooker Setup.",
      "; Kalvenbrooker Setup and its runtime are the property of their authors;",
      "; the packages it builds belong to their publishers.",
      ";",
      "; Setup created by " + company_name + " with",
      "; Kalvenbrooker Setup, the installer for Windows desktops and handhelds.",
      std::string(kRule),
      "",
      "[CEAppManager]",
      "Version = 1.0",
      "Component = " + group.Name,
      "",
      "[" + group.Name + "]",
      "Description = " + Quoted(group.Description),
  };
  if (first)
    lines.push_back("Uninstall = " + Quoted(company_name + " " + group.Name));
  if (!icon_path.empty())
    lines.push_back("IconFile = " + Quoted(ExtractFileName(icon_path)));
  lines.push_back("CabFiles = " + JoinText(group.CabFiles, ","));
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  return text;
}

std::vector<std::string> WriteAppManagerFiles(const std::vector<AppManagerGroup>& groups,
                                              const std::string& company_name,
                                              const std::string& icon_path,
                                              const TextFileWriter& write) {
  std::vector<std::string> written;
  for (const AppManagerGroup& group : groups) {
    const std::string path = AppManagerFilePath(group);
    if (write(path, AppManagerFileText(group, company_name, icon_path, written.empty())))
      written.push_back(path);
  }
  return written;
}

}  // namespace kvb
