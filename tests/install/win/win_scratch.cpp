#include "win_scratch.h"

#include <shlwapi.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace kvb::test {

std::string ProgramFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\'));
}

ScratchFolder::ScratchFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + "kvb-" + name + "-" + std::to_string(GetCurrentProcessId());
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
  CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void SetOldFileTime(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  FILETIME time;
  DosDateTimeToFileTime(0x3021, 0x6000, &time);  // 2004-01-01 12:00
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
}

namespace {

void SnapshotInto(const std::string& folder,
                  const std::string& relative,
                  std::map<std::string, std::string>& out) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..")
      continue;
    const std::string rel = relative.empty() ? name : relative + "\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out[rel + "\\"] = "folder";
      SnapshotInto(folder + "\\" + name, rel, out);
    } else {
      out[rel] = ReadTextFile(folder + "\\" + name) + " @" +
                 std::to_string(data.ftLastWriteTime.dwLowDateTime) + "." +
                 std::to_string(data.ftLastWriteTime.dwHighDateTime);
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

}  // namespace

std::map<std::string, std::string> SnapshotFolder(const std::string& folder) {
  std::map<std::string, std::string> out;
  SnapshotInto(folder, "", out);
  return out;
}

std::map<std::string, std::string> SnapshotKey(HKEY root, const std::string& key) {
  std::map<std::string, std::string> out;
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return out;
  out[key + "|"] = "key";
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD name_size = sizeof name;
    BYTE data[2048];
    DWORD data_size = sizeof data;
    DWORD type = 0;
    if (RegEnumValueA(handle, i, name, &name_size, nullptr, &type, data, &data_size) !=
        ERROR_SUCCESS)
      break;
    out[key + "|" + name] =
        std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), data_size);
  }
  std::vector<std::string> subkeys;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD size = sizeof name;
    if (RegEnumKeyExA(handle, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    subkeys.push_back(name);
  }
  RegCloseKey(handle);
  for (const std::string& sub : subkeys) {
    const auto inner = SnapshotKey(root, key + "\\" + sub);
    out.insert(inner.begin(), inner.end());
  }
  return out;
}

void DeleteKeyTree(HKEY root, const std::string& key) {
  SHDeleteKeyA(root, key.c_str());
}

}  // namespace kvb::test
