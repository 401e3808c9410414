// Recording stand-ins for the machine behind the script commands, and a compact way to
// write scripts in tests.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "base/text.h"
#include "devices/device_accessor.h"
#include "devices/hotsync_users.h"
#include "net/http_transport.h"
#include "script/script_engine.h"
#include "script/text_file.h"
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

// Appends "name(a, b, ...)" to the log and returns `result`.
template <typename R, typename... Args>
R Record(Log& log, R result, const char* name, const Args&... args) {
  log.push_back(std::string(name) + "(" + JoinText({std::string(args)...}, ", ") + ")");
  return result;
}

class FakePrompt : public ScriptPrompt {
 public:
  explicit FakePrompt(Log& log) : log_(log) {}
  int answer = 1;
  int ShowMessage(const std::string& caption, const std::string& text, uint32_t style) override {
    return Record(log_, answer, "Message", caption, text, std::to_string(style));
  }

 private:
  Log& log_;
};

class FakeRegistry : public ScriptRegistry {
 public:
  using Key = std::tuple<uint32_t, std::string, std::string>;
  std::map<Key, RegistryValue> values;
  Log log;

  std::optional<RegistryValue> ReadValue(RegistryRoot root,
                                         const std::string& key,
                                         const std::string& name) override;
  bool ValueExists(RegistryRoot root, const std::string& key, const std::string& name) override {
    return ReadValue(root, key, name).has_value();
  }
  bool WriteString(RegistryRoot root,
                   const std::string& key,
                   const std::string& name,
                   const std::string& text) override {
    values[{static_cast<uint32_t>(root), key, name}] = {kRegString, text, 0};
    return true;
  }
  bool WriteDword(RegistryRoot root,
                  const std::string& key,
                  const std::string& name,
                  uint32_t value) override {
    values[{static_cast<uint32_t>(root), key, name}] = {kRegDword, "", value};
    return true;
  }
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override {
    return values.erase({static_cast<uint32_t>(root), key, name}) > 0;
  }
  bool DeleteKey(RegistryRoot root, const std::string& key) override {
    return Record(log, true, "DeleteKey", std::to_string(static_cast<uint32_t>(root)), key);
  }
};

// Records every call; files of the text-file commands are real files under `folder`.
class FakeSystem : public ScriptSystem {
 public:
  FakeSystem(Log& log, std::string folder) : log_(log), folder_(std::move(folder)) {}
  bool exists = false;
  std::optional<uint64_t> size;
  std::optional<std::array<uint16_t, 4>> version;

  void Sleep(uint32_t ms) override { Record(log_, 0, "Sleep", std::to_string(ms)); }
  void OpenDocument(const std::string& file) override { Record(log_, 0, "Open", file); }
  void RunProgram(const std::string& program, const std::string& arguments, bool wait) override {
    Record(log_, 0, "Run", program, arguments, wait ? "wait" : "nowait");
  }
  std::unique_ptr<ScriptFileStream> OpenFileForUpdate(const std::string& path) override {
    return OpenStdioFile(folder_ + "/" + path);
  }
  bool RemoveFile(const std::string& path) override { return Record(log_, true, "Delete", path); }
  bool CopyFileOver(const std::string& from, const std::string& to) override {
    return Record(log_, true, "Copy", from, to);
  }
  bool FileExists(const std::string&) override { return exists; }
  std::optional<uint64_t> FileSize(const std::string&) override { return size; }
  std::optional<std::array<uint16_t, 4>> FileVersion(const std::string&) override {
    return version;
  }
  bool FindFirst(const std::string& pattern) override {
    return Record(log_, exists, "Find", pattern);
  }
  bool MakeFolder(const std::string& path) override {
    return Record(log_, true, "MakeFolder", path);
  }
  bool RemoveFolder(const std::string& path) override {
    return Record(log_, true, "RemoveFolder", path);
  }
  bool CreateShortcut(const std::string& link,
                      const std::string& target,
                      const std::string& arguments,
                      const std::string& folder) override {
    return Record(log_, true, "Shortcut", link, target, arguments, folder);
  }
  bool WindowExists(const std::string& window_class, const std::string& title) override {
    return Record(log_, exists, "FindWindow", window_class, title);
  }
  void CloseWindow(const std::string& window_class, const std::string& title, bool quit) override {
    Record(log_, 0, "CloseWindow", window_class, title, quit ? "quit" : "close");
  }

 private:
  Log& log_;
  std::string folder_;
};

class FakeDll : public DllCaller {
 public:
  explicit FakeDll(Log& log) : log_(log) {}
  bool fail = false;
  std::string CallString(const std::string& library,
                         const std::string& function,
                         const std::vector<DllArgument>& arguments) override {
    return Record(log_, std::string(fail ? "" : "text"), "CallString", library, function,
                  Describe(arguments));
  }
  int32_t CallInteger(const std::string& library,
                      const std::string& function,
                      const std::vector<DllArgument>& arguments) override {
    return Record(log_, fail ? 0 : -1, "CallInteger", library, function, Describe(arguments));
  }
  bool Failed() const override { return fail; }

 private:
  static std::string Describe(const std::vector<DllArgument>& arguments);
  Log& log_;
};

// A device that answers when `present`; its file is an in-memory byte string and its
// registry a map of names to (type, data).
class FakeDevice : public DeviceAccessor {
 public:
  explicit FakeDevice(Log& log) : log_(log) {}
  bool present = true;
  bool connected = false;
  std::string file;
  bool file_open = false;
  int64_t position = 0;
  std::map<std::string, std::pair<uint32_t, std::string>> values;

  bool IsConnected() override { return connected; }
  bool Probe() override { return Record(log_, present, "Probe"); }
  bool Connect(bool skip) override {
    return connected = Record(log_, present, "Connect", skip ? "skip" : "probe");
  }
  std::string OwnerInfo(int field) override { return field == 0 ? "Owner" : "Company"; }
  std::string OsVersion(int part) override { return part == 0 ? "4" : part == 1 ? "20" : "4.20"; }
  std::string PlatformName() override { return "PPC2002"; }
  std::string ProcessorName() override { return "ARM920"; }
  bool CpuIsNative() override { return true; }
  uint32_t StoreInformation() override { return 1536; }
  std::string SerialNumber() override { return "SN1"; }
  bool IsXScale() override { return true; }
  bool AppInstalled(const std::string& company, const std::string& app) override {
    return Record(log_, true, "AppInstalled", company, app);
  }
  bool RunProgram(const std::string& path, const std::string& arguments) override {
    return Record(log_, true, "DeviceRun", path, arguments);
  }
  std::string FileInfo(const std::string& path, int part) override {
    return path + "#" + std::to_string(part);
  }
  bool FileExists(const std::string& path) override {
    return Record(log_, true, "DeviceExists", path);
  }
  bool CreateFolder(const std::string& path) override {
    return Record(log_, true, "DeviceMakeFolder", path);
  }
  bool RemoveFolder(const std::string& path) override {
    return Record(log_, true, "DeviceRemoveFolder", path);
  }
  bool RemoveFile(const std::string& path) override {
    return Record(log_, true, "DeviceDelete", path);
  }
  bool CopyOnDevice(const std::string& from, const std::string& to) override {
    return Record(log_, true, "DeviceCopy", from, to);
  }
  bool CopyToDevice(const std::string& from, const std::string& to) override {
    return Record(log_, true, "CopyToDevice", from, to);
  }
  bool CopyFromDevice(const std::string& from, const std::string& to) override {
    return Record(log_, true, "CopyFromDevice", from, to);
  }
  bool OpenFile(const std::string& path, uint32_t check) override {
    position = 0;
    return file_open = Record(log_, true, "DeviceOpen", path, std::to_string(check));
  }
  bool FileIsOpen() override { return file_open; }
  void CloseFile() override { file_open = false; }
  bool ReadFile(char* buffer, uint32_t count) override;
  bool WriteFile(const char* buffer, uint32_t count) override;
  int64_t FileSize() override { return file_open ? static_cast<int64_t>(file.size()) : -1; }
  int64_t Seek(int64_t offset, int origin) override;
  bool OpenKey(uint32_t root, const std::string& key) override {
    return Record(log_, true, "DeviceOpenKey", std::to_string(root), key);
  }
  void CloseKey() override {}
  bool DeleteKey(uint32_t root, const std::string& key) override {
    return Record(log_, true, "DeviceDeleteKey", std::to_string(root), key);
  }
  bool DeleteValue(const std::string& name) override { return values.erase(name) > 0; }
  std::optional<uint32_t> ValueType(const std::string& name) override;
  std::optional<std::string> ReadString(const std::string& name) override {
    return values.at(name).second;
  }
  std::optional<int32_t> ReadInteger(const std::string& name) override {
    return std::stoi(values.at(name).second);
  }
  bool WriteString(const std::string& name, const std::string& text) override {
    values[name] = {kDeviceRegString, text};
    return true;
  }
  bool WriteInteger(const std::string& name, int32_t value) override {
    values[name] = {kDeviceRegDword, std::to_string(value)};
    return true;
  }

 private:
  Log& log_;
};

class FakeHttp : public HttpTransport {
 public:
  explicit FakeHttp(Log& log) : log_(log) {}
  bool succeed = true;
  std::string body = "answer";
  bool Get(const std::string& url, std::string& out) override {
    if (succeed)
      out = body;
    return Record(log_, succeed, "Get", url);
  }
  bool Download(const std::string& url,
                const std::string& file,
                const HttpProgressHandler& progress) override {
    if (progress)
      progress(HttpProgressEvent::kData, 5, 10);
    return Record(log_, succeed, "Download", url, file);
  }
  bool Post(const std::string& url, const std::string& data) override {
    return Record(log_, succeed, "Post", url, data);
  }
  void CancelDownload() override { Record(log_, 0, "Cancel"); }

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
// into one log. Without carriers there is no device accessor, transport or HotSync.
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
