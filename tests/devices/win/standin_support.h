// The stand-ins of ActiveSync for the Win32 tests: "rapi.dll" copied into the prefix's
// system folder (where ActiveSync puts it and the only place the program loads it from)
// and a device folder of this test process, named through KVB_STANDIN_DEVICE.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kvb {

inline std::string ExeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

inline std::string StandinFolder() {
  return ExeFolder() + "..\\..\\tools\\standins\\";
}

// Copies the stand-in library into the system folder unless an equal copy is there.
inline bool InstallStandinRapi() {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string target = std::string(system) + "\\rapi.dll";
  const std::string source = StandinFolder() + "rapi.dll";
  WIN32_FILE_ATTRIBUTE_DATA a = {}, b = {};
  if (GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &a) &&
      GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &b) &&
      a.nFileSizeLow == b.nFileSizeLow &&
      CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) >= 0) {
    return true;
  }
  return CopyFileA(source.c_str(), target.c_str(), FALSE) != 0;
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A device folder for this process, removed again at the end.
class StandinDevice {
 public:
  explicit StandinDevice(const std::string& config) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "kvbdevice-" + std::to_string(GetCurrentProcessId());
    Remove();
    CreateDirectoryA(folder_.c_str(), nullptr);
    CreateDirectoryA(Root().c_str(), nullptr);
    WriteAll(folder_ + "\\device.ini", config);
    SetEnvironmentVariableA("KVB_STANDIN_DEVICE", folder_.c_str());
  }
  ~StandinDevice() {
    SetEnvironmentVariableA("KVB_STANDIN_DEVICE", nullptr);
    Remove();
  }
  StandinDevice(const StandinDevice&) = delete;
  StandinDevice& operator=(const StandinDevice&) = delete;

  const std::string& Folder() const { return folder_; }
  std::string Root() const { return folder_ + "\\root"; }
  std::string Registry() const { return ReadAll(folder_ + "\\registry.txt"); }
  std::string Calls() const { return ReadAll(folder_ + "\\calls.log"); }
  void SetRegistry(const std::string& text) const { WriteAll(folder_ + "\\registry.txt", text); }

 private:
  void Remove() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string folder_;
};

}  // namespace kvb
