#include "base/system_program_win.h"

#include <windows.h>

#include <cstdlib>

namespace kvb {

namespace {

// "C:\..." or "\\server\...": PATH entries such as "." or "bin" would name folders
// relative to the current one.
bool IsFullFolder(const std::string& folder) {
  return (folder.size() >= 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/')) ||
         folder.rfind("\\\\", 0) == 0;
}

std::string SearchList() {
  char folder[MAX_PATH];
  std::string list;
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length > 0 && length < MAX_PATH)
    list = std::string(folder, length);
  length = GetWindowsDirectoryA(folder, MAX_PATH);
  if (length > 0 && length < MAX_PATH)
    list += ";" + std::string(folder, length);
  const char* path = std::getenv("PATH");
  std::string entries = path ? path : "";
  for (size_t start = 0; start <= entries.size();) {
    const size_t end = std::min(entries.find(';', start), entries.size());
    const std::string entry = entries.substr(start, end - start);
    if (IsFullFolder(entry))
      list += ";" + entry;
    start = end + 1;
  }
  return list;
}

}  // namespace

bool IsBareName(const std::string& path) {
  return path.find_first_of("\\/:") == std::string::npos;
}

std::string FindSystemProgram(const std::string& name) {
  if (name.empty() || !IsBareName(name))
    return {};
  const std::string list = SearchList();
  char found[MAX_PATH];
  const DWORD length = SearchPathA(list.c_str(), name.c_str(), ".exe", MAX_PATH, found, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(found, length) : std::string();
}

}  // namespace kvb
