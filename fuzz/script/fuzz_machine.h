// A machine for the fuzz target: every service answers from memory and touches nothing.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "devices/device_accessor.h"
#include "devices/hotsync_users.h"
#include "net/http_transport.h"
#include "script/script_services.h"

namespace kvb {

// Files of the text-file commands, held in memory and kept small. An open file stays
// readable after it is deleted, as on POSIX.
class MemoryFiles {
 public:
  static constexpr size_t kMaxFileSize = 1 << 16;
  std::map<std::string, std::shared_ptr<std::string>> files;
  std::unique_ptr<ScriptFileStream> Open(const std::string& path);
};

class FuzzPrompt : public ScriptPrompt {
 public:
  int answer = 6;
  int ShowMessage(const std::string&, const std::string&, uint32_t) override { return answer; }
};

class FuzzRegistry : public ScriptRegistry {
 public:
  std::map<std::string, RegistryValue> values;
  std::optional<RegistryValue> ReadValue(RegistryRoot root,
                                         const std::string& key,
                                         const std::string& name) override;
  bool ValueExists(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool WriteString(RegistryRoot root,
                   const std::string& key,
                   const std::string& name,
                   const std::string& text) override;
  bool WriteDword(RegistryRoot root,
                  const std::string& key,
                  const std::string& name,
                  uint32_t value) override;
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool DeleteKey(RegistryRoot root, const std::string& key) override;
};

class FuzzSystem : public ScriptSystem {
 public:
  MemoryFiles memory;
  bool answer = true;
  void Sleep(uint32_t) override {}
  void OpenDocument(const std::string&) override {}
  void RunProgram(const std::string&, const std::string&, bool) override {}
  std::unique_ptr<ScriptFileStream> OpenFileForUpdate(const std::string& path) override {
    return memory.Open(path);
  }
  bool RemoveFile(const std::string& path) override { return memory.files.erase(path) > 0; }
  bool CopyFileOver(const std::string&, const std::string&) override { return answer; }
  bool FileExists(const std::string& path) override { return memory.files.count(path) > 0; }
  std::optional<uint64_t> FileSize(const std::string& path) override;
  std::optional<std::array<uint16_t, 4>> FileVersion(const std::string&) override;
  bool FindFirst(const std::string&) override { return answer; }
  bool MakeFolder(const std::string&) override { return answer; }
  bool RemoveFolder(const std::string&) override { return answer; }
  bool CreateShortcut(const std::string&,
                      const std::string&,
                      const std::string&,
                      const std::string&) override {
    return answer;
  }
  bool WindowExists(const std::string&, const std::string&) override { return answer; }
  void CloseWindow(const std::string&, const std::string&, bool) override {}
};

class FuzzDll : public DllCaller {
 public:
  bool fail = false;
  std::string CallString(const std::string&,
                         const std::string&,
                         const std::vector<DllArgument>& arguments) override;
  int32_t CallInteger(const std::string&,
                      const std::string&,
                      const std::vector<DllArgument>& arguments) override;
  bool Failed() const override { return fail; }
};

// A device with one in-memory file and a flat registry.
class FuzzDevice : public DeviceAccessor {
 public:
  bool present = true;
  bool connected = false;
  std::string file;
  bool file_open = false;
  int64_t position = 0;
  std::map<std::string, std::pair<uint32_t, std::string>> values;

  bool IsConnected() override { return connected; }
  bool Probe() override { return present; }
  bool Connect(bool) override { return connected = present; }
  std::string OwnerInfo(int) override { return "owner"; }
  std::string OsVersion(int) override { return "4"; }
  std::string PlatformName() override { return "PPC"; }
  std::string ProcessorName() override { return "SH3"; }
  bool CpuIsNative() override { return false; }
  uint32_t StoreInformation() override { return 0xFFFFFFFF; }
  std::string SerialNumber() override { return "1"; }
  bool IsXScale() override { return false; }
  bool AppInstalled(const std::string&, const std::string&) override { return true; }
  bool RunProgram(const std::string&, const std::string&) override { return true; }
  std::string FileInfo(const std::string& path, int) override { return path; }
  bool FileExists(const std::string&) override { return true; }
  bool CreateFolder(const std::string&) override { return true; }
  bool RemoveFolder(const std::string&) override { return true; }
  bool RemoveFile(const std::string&) override { return true; }
  bool CopyOnDevice(const std::string&, const std::string&) override { return true; }
  bool CopyToDevice(const std::string&, const std::string&) override { return true; }
  bool CopyFromDevice(const std::string&, const std::string&) override { return true; }
  bool OpenFile(const std::string& path, uint32_t check) override;
  bool FileIsOpen() override { return file_open; }
  void CloseFile() override { file_open = false; }
  bool ReadFile(char* buffer, uint32_t count) override;
  bool WriteFile(const char* buffer, uint32_t count) override;
  int64_t FileSize() override { return file_open ? static_cast<int64_t>(file.size()) : -1; }
  int64_t Seek(int64_t offset, int origin) override;
  bool OpenKey(uint32_t, const std::string&) override { return true; }
  void CloseKey() override {}
  bool DeleteKey(uint32_t, const std::string&) override { return true; }
  bool DeleteValue(const std::string& name) override { return values.erase(name) > 0; }
  std::optional<uint32_t> ValueType(const std::string& name) override;
  std::optional<std::string> ReadString(const std::string& name) override;
  std::optional<int32_t> ReadInteger(const std::string& name) override;
  bool WriteString(const std::string& name, const std::string& text) override;
  bool WriteInteger(const std::string& name, int32_t value) override;
};

class FuzzHttp : public HttpTransport {
 public:
  bool succeed = true;
  bool Get(const std::string& url, std::string& body) override;
  bool Download(const std::string&,
                const std::string&,
                const HttpProgressHandler& progress) override;
  bool Post(const std::string&, const std::string&) override { return succeed; }
  void CancelDownload() override {}
};

class FuzzHotSync : public HotSyncUsers {
 public:
  int UserCount() const override { return 2; }
  std::string UserName(int index) const override {
    return index == 0 ? "a" : index == 1 ? "b" : "";
  }
};

}  // namespace kvb
