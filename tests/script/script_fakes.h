// Recording stand-ins for the machine behind the script commands, and a compact way to
// write scripts in tests.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "devices/device_accessor.h"
#include "devices/hotsync_users.h"
#include "net/http_transport.h"
#include "script/script_engine.h"
#include "script/text_file.h"
#include "setupdata/command_table.h"
#include "uninstall/previous_install.h"
#include "vars/variables.h"

namespace kvb {

// One statement by command name ("SET") or number ("#200").
struct Line {
  std::string command;
  std::vector<std::string> args = {};
  std::string guard = {};
};

TScript MakeScript(const std::vector<Line>& lines);

using Log = std::vector<std::string>;

class FakePrompt : public ScriptPrompt {
 public:
  explicit FakePrompt(Log& log) : log_(log) {}
  int answer = 1;
  int ShowMessage(const std::string& caption, const std::string& text,
                  uint32_t style) override;

 private:
  Log& log_;
};

class FakeRegistry : public ScriptRegistry {
 public:
  using Key = std::tuple<uint32_t, std::string, std::string>;
  std::map<Key, RegistryValue> values;
  Log log;

  std::optional<RegistryValue> ReadValue(RegistryRoot root, const std::string& key,
                                         const std::string& name) override;
  bool ValueExists(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string& text) override;
  bool WriteDword(RegistryRoot root, const std::string& key, const std::string& name,
                  uint32_t value) override;
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool DeleteKey(RegistryRoot root, const std::string& key) override;
};

// Records every call; files of the text-file commands are real files under `folder`.
class FakeSystem : public ScriptSystem {
 public:
  FakeSystem(Log& log, std::string folder) : log_(log), folder_(std::move(folder)) {}
  bool exists = false;
  std::optional<uint64_t> size;
  std::optional<std::array<uint16_t, 4>> version;

  void Sleep(uint32_t milliseconds) override;
  void OpenDocument(const std::string& file) override;
  void RunProgram(const std::string& program, const std::string& arguments, bool wait) override;
  std::unique_ptr<ScriptFileStream> OpenFileForUpdate(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool CopyFileOver(const std::string& source, const std::string& destination) override;
  bool FileExists(const std::string& path) override;
  std::optional<uint64_t> FileSize(const std::string& path) override;
  std::optional<std::array<uint16_t, 4>> FileVersion(const std::string& path) override;
  bool FindFirst(const std::string& pattern) override;
  bool MakeFolder(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool CreateShortcut(const std::string& link_path, const std::string& target,
                      const std::string& arguments, const std::string& working_folder) override;
  bool WindowExists(const std::string& window_class, const std::string& title) override;
  void CloseWindow(const std::string& window_class, const std::string& title, bool quit) override;

 private:
  Log& log_;
  std::string folder_;
};

class FakeDll : public DllCaller {
 public:
  explicit FakeDll(Log& log) : log_(log) {}
  bool fail = false;
  std::string CallString(const std::string& library, const std::string& function,
                         const std::vector<DllArgument>& arguments) override;
  int32_t CallInteger(const std::string& library, const std::string& function,
                      const std::vector<DllArgument>& arguments) override;
  bool Failed() const override { return fail; }

 private:
  Log& log_;
};

// A device that answers when `present`; its file is an in-memory byte string and its
// registry a map.
class FakeDevice : public DeviceAccessor {
 public:
  explicit FakeDevice(Log& log) : log_(log) {}
  bool present = true;
  bool connected = false;
  std::string file;
  bool file_open = false;
  int64_t position = 0;
  std::map<std::string, std::pair<uint32_t, std::string>> values;  // name -> type, data

  bool IsConnected() override { return connected; }
  bool Probe() override;
  bool Connect(bool skip_probe) override;
  std::string OwnerInfo(int field) override;
  std::string OsVersion(int part) override;
  std::string PlatformName() override { return "PPC2002"; }
  std::string ProcessorName() override { return "ARM920"; }
  bool CpuIsNative() override { return true; }
  uint32_t StoreInformation() override { return 1536; }
  std::string SerialNumber() override { return "SN1"; }
  bool IsXScale() override { return true; }
  bool AppInstalled(const std::string& company, const std::string& application) override;
  bool RunProgram(const std::string& path, const std::string& arguments) override;
  std::string FileInfo(const std::string& path, int part) override;
  bool FileExists(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool CopyOnDevice(const std::string& source, const std::string& destination) override;
  bool CopyToDevice(const std::string& local_path, const std::string& device_path) override;
  bool CopyFromDevice(const std::string& device_path, const std::string& local_path) override;
  bool OpenFile(const std::string& path, uint32_t check) override;
  bool FileIsOpen() override { return file_open; }
  void CloseFile() override { file_open = false; }
  bool ReadFile(char* buffer, uint32_t count) override;
  bool WriteFile(const char* buffer, uint32_t count) override;
  int64_t FileSize() override { return file_open ? static_cast<int64_t>(file.size()) : -1; }
  int64_t Seek(int64_t offset, int origin) override;
  bool OpenKey(uint32_t root, const std::string& key) override;
  void CloseKey() override {}
  bool DeleteKey(uint32_t root, const std::string& key) override;
  bool DeleteValue(const std::string& name) override;
  std::optional<uint32_t> ValueType(const std::string& name) override;
  std::optional<std::string> ReadString(const std::string& name) override;
  std::optional<int32_t> ReadInteger(const std::string& name) override;
  bool WriteString(const std::string& name, const std::string& text) override;
  bool WriteInteger(const std::string& name, int32_t value) override;

 private:
  Log& log_;
};

class FakeHttp : public HttpTransport {
 public:
  explicit FakeHttp(Log& log) : log_(log) {}
  bool succeed = true;
  std::string body = "answer";
  bool Get(const std::string& url, std::string& body) override;
  bool Download(const std::string& url, const std::string& local_file,
                const HttpProgressHandler& progress) override;
  bool Post(const std::string& url, const std::string& data) override;
  void CancelDownload() override;

 private:
  Log& log_;
};

class FakeHotSync : public HotSyncUsers {
 public:
  std::vector<std::string> users;
  int UserCount() const override { return static_cast<int>(users.size()); }
  std::string UserName(int index) const override {
    return index >= 0 && index < UserCount() ? users[index] : "";
  }
};

// An engine over a fresh store whose machine is made of the fakes above, all recording
// into one log.
class ScriptHarness {
 public:
  explicit ScriptHarness(bool with_carriers = false, std::string folder = ".");

  Variables vars;
  Log log;
  FakePrompt* prompt;
  FakeRegistry* registry;
  FakeSystem* system;
  FakeDll* dll;
  FakeDevice* device = nullptr;
  FakeHttp* http = nullptr;
  FakeHotSync hotsync;
  std::unique_ptr<TScriptEngine> engine;

  bool Execute(const std::vector<Line>& lines) { return engine->ExecuteScript(MakeScript(lines)); }
  std::string Value(const std::string& name) { return vars.ExpandText(name); }
  ScriptRuntime& State() { return engine->State(); }
};

}  // namespace kvb
