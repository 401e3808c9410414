// The device behind the stand-in "rapi.dll": a folder on the desktop plays the handheld.
//   <folder>\device.ini    what the device is and how it behaves (key=value lines)
//   <folder>\root\         the device's file system ("\" of the device)
//   <folder>\registry.txt  the device's registry, rewritten after every change
//   <folder>\calls.log     one line per notable call, for the tests to read
// The folder is named by the environment variable KVB_STANDIN_DEVICE, else C:\kvbdevice;
// without a device.ini in it no device is connected.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kvb::standin {

struct DeviceConfig {
  bool Present = false;      // present=1: the device answers
  std::string Init = "ok";   // init=ok|fail|never: CeRapiInitEx succeeds, fails, or never signals
  DWORD ConnectDelayMs = 0;  // connect_delay_ms: before the connection is signalled
  DWORD Processor = 2577;    // processor: SYSTEM_INFO processor type
  DWORD Major = 4, Minor = 20;  // major, minor
  std::wstring Platform = L"PocketPC";
  std::wstring Serial = L"0123456789AB";
  DWORD XScale = 0;              // xscale
  std::string Agent = "answer";  // agent=answer|never: whether the started agent answers
  DWORD AgentDelayMs = 0;        // agent_delay_ms
  int64_t WriteLimit = -1;       // write_limit: bytes written before the device drops off
  DWORD FreeSpace = 1048576;     // free_space
};

struct RegValue {
  std::wstring Name;
  DWORD Type = 0;
  std::vector<uint8_t> Data;
};

struct RegKeyData {
  std::wstring Path;                        // "HKLM\Software\Apps", as first written
  std::map<std::wstring, RegValue> Values;  // by upper-case name
};

// The registry of the device: keys by upper-case path.
class DeviceRegistry {
 public:
  void Load(const std::wstring& file);
  void Save(const std::wstring& file) const;
  RegKeyData* Find(const std::wstring& path);
  RegKeyData& Create(const std::wstring& path);  // and its parents
  // Deletes the key with its subkeys; false when it does not exist.
  bool Delete(const std::wstring& path);

 private:
  std::map<std::wstring, RegKeyData> keys_;
};

std::wstring DeviceFolder();
DeviceConfig ReadConfig(const std::wstring& folder);
void ApplySetting(DeviceConfig& config, const std::string& key, const std::string& value);
// The desktop path of a device path below <folder>\root; nullopt for paths that would
// leave it ("..", drive letters).
std::optional<std::wstring> HostPath(const std::wstring& folder, const wchar_t* device_path);
std::wstring Upper(std::wstring text);
std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
void AppendLog(const std::wstring& folder, const std::string& line);

}  // namespace kvb::standin
