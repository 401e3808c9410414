#include "script_fakes.h"

#include <cstring>
#include <stdexcept>

#include "base/text.h"

namespace kvb {

TScript MakeScript(const std::vector<Line>& lines) {
  TScript script;
  for (const Line& line : lines) {
    TScriptStatement statement;
    if (line.command[0] == '#') {
      statement.Code = static_cast<uint32_t>(std::stoul(line.command.substr(1)));
    } else if (const std::optional<uint8_t> code = FindCommandByName(line.command)) {
      statement.Code = *code;
    } else {
      throw std::invalid_argument("unknown command " + line.command);
    }
    for (size_t i = 0; i < line.args.size() && i < 5; ++i) statement.Args[i] = line.args[i];
    statement.Guard = line.guard;
    script.Statements.push_back(statement);
  }
  script.Count = static_cast<int32_t>(script.Statements.size());
  return script;
}

static std::string Call(const std::string& name, std::initializer_list<std::string> args) {
  return name + "(" + JoinText(std::vector<std::string>(args), ", ") + ")";
}

int FakePrompt::ShowMessage(const std::string& caption, const std::string& text,
                            uint32_t style) {
  log_.push_back(Call("Message", {caption, text, std::to_string(style)}));
  return answer;
}

std::optional<RegistryValue> FakeRegistry::ReadValue(RegistryRoot root, const std::string& key,
                                                     const std::string& name) {
  const auto found = values.find({static_cast<uint32_t>(root), key, name});
  if (found == values.end()) return std::nullopt;
  return found->second;
}

bool FakeRegistry::ValueExists(RegistryRoot root, const std::string& key,
                               const std::string& name) {
  return ReadValue(root, key, name).has_value();
}

bool FakeRegistry::WriteString(RegistryRoot root, const std::string& key,
                               const std::string& name, const std::string& text) {
  values[{static_cast<uint32_t>(root), key, name}] = {kRegString, text, 0};
  return true;
}

bool FakeRegistry::WriteDword(RegistryRoot root, const std::string& key,
                              const std::string& name, uint32_t value) {
  values[{static_cast<uint32_t>(root), key, name}] = {kRegDword, "", value};
  return true;
}

bool FakeRegistry::DeleteValue(RegistryRoot root, const std::string& key,
                               const std::string& name) {
  return values.erase({static_cast<uint32_t>(root), key, name}) > 0;
}

bool FakeRegistry::DeleteKey(RegistryRoot root, const std::string& key) {
  log.push_back(Call("DeleteKey", {std::to_string(static_cast<uint32_t>(root)), key}));
  return true;
}

void FakeSystem::Sleep(uint32_t milliseconds) {
  log_.push_back(Call("Sleep", {std::to_string(milliseconds)}));
}
void FakeSystem::OpenDocument(const std::string& file) {
  log_.push_back(Call("Open", {file}));
}
void FakeSystem::RunProgram(const std::string& program, const std::string& arguments,
                            bool wait) {
  log_.push_back(Call("Run", {program, arguments, wait ? "wait" : "nowait"}));
}
std::unique_ptr<ScriptFileStream> FakeSystem::OpenFileForUpdate(const std::string& path) {
  return OpenStdioFile(folder_ + "/" + path);
}
bool FakeSystem::RemoveFile(const std::string& path) {
  log_.push_back(Call("Delete", {path}));
  return true;
}
bool FakeSystem::CopyFileOver(const std::string& source, const std::string& destination) {
  log_.push_back(Call("Copy", {source, destination}));
  return true;
}
bool FakeSystem::FileExists(const std::string& path) {
  return exists;
}
std::optional<uint64_t> FakeSystem::FileSize(const std::string& path) {
  return size;
}
std::optional<std::array<uint16_t, 4>> FakeSystem::FileVersion(const std::string& path) {
  return version;
}
bool FakeSystem::FindFirst(const std::string& pattern) {
  log_.push_back(Call("Find", {pattern}));
  return exists;
}
bool FakeSystem::MakeFolder(const std::string& path) {
  log_.push_back(Call("MakeFolder", {path}));
  return true;
}
bool FakeSystem::RemoveFolder(const std::string& path) {
  log_.push_back(Call("RemoveFolder", {path}));
  return true;
}
bool FakeSystem::CreateShortcut(const std::string& link_path, const std::string& target,
                                const std::string& arguments,
                                const std::string& working_folder) {
  log_.push_back(Call("Shortcut", {link_path, target, arguments, working_folder}));
  return true;
}
bool FakeSystem::WindowExists(const std::string& window_class, const std::string& title) {
  log_.push_back(Call("FindWindow", {window_class, title}));
  return exists;
}
void FakeSystem::CloseWindow(const std::string& window_class, const std::string& title,
                             bool quit) {
  log_.push_back(Call("CloseWindow", {window_class, title, quit ? "quit" : "close"}));
}

static std::string Describe(const std::vector<DllArgument>& arguments) {
  std::vector<std::string> parts;
  for (const DllArgument& a : arguments) {
    parts.push_back(a.ArgKind == DllArgument::kString ? "'" + a.Text + "'"
                                                      : std::to_string(a.Value));
  }
  return JoinText(parts, " ");
}

std::string FakeDll::CallString(const std::string& library, const std::string& function,
                                const std::vector<DllArgument>& arguments) {
  log_.push_back(Call("CallString", {library, function, Describe(arguments)}));
  return fail ? "" : "text";
}

int32_t FakeDll::CallInteger(const std::string& library, const std::string& function,
                             const std::vector<DllArgument>& arguments) {
  log_.push_back(Call("CallInteger", {library, function, Describe(arguments)}));
  return fail ? 0 : -1;
}

bool FakeDevice::Probe() {
  log_.push_back("Probe()");
  return present;
}
bool FakeDevice::Connect(bool skip_probe) {
  log_.push_back(Call("Connect", {skip_probe ? "skip" : "probe"}));
  connected = present;
  return connected;
}
std::string FakeDevice::OwnerInfo(int field) {
  return field == 0 ? "Owner" : "Company";
}
std::string FakeDevice::OsVersion(int part) {
  return part == 0 ? "4" : part == 1 ? "20" : "4.20";
}
bool FakeDevice::AppInstalled(const std::string& company, const std::string& application) {
  log_.push_back(Call("AppInstalled", {company, application}));
  return true;
}
bool FakeDevice::RunProgram(const std::string& path, const std::string& arguments) {
  log_.push_back(Call("DeviceRun", {path, arguments}));
  return true;
}
std::string FakeDevice::FileInfo(const std::string& path, int part) {
  return path + "#" + std::to_string(part);
}
bool FakeDevice::FileExists(const std::string& path) {
  log_.push_back(Call("DeviceExists", {path}));
  return true;
}
bool FakeDevice::CreateFolder(const std::string& path) {
  log_.push_back(Call("DeviceMakeFolder", {path}));
  return true;
}
bool FakeDevice::RemoveFolder(const std::string& path) {
  log_.push_back(Call("DeviceRemoveFolder", {path}));
  return true;
}
bool FakeDevice::RemoveFile(const std::string& path) {
  log_.push_back(Call("DeviceDelete", {path}));
  return true;
}
bool FakeDevice::CopyOnDevice(const std::string& source, const std::string& destination) {
  log_.push_back(Call("DeviceCopy", {source, destination}));
  return true;
}
bool FakeDevice::CopyToDevice(const std::string& local_path, const std::string& device_path) {
  log_.push_back(Call("CopyToDevice", {local_path, device_path}));
  return true;
}
bool FakeDevice::CopyFromDevice(const std::string& device_path, const std::string& local_path) {
  log_.push_back(Call("CopyFromDevice", {device_path, local_path}));
  return true;
}
bool FakeDevice::OpenFile(const std::string& path, uint32_t check) {
  log_.push_back(Call("DeviceOpen", {path, std::to_string(check)}));
  file_open = true;
  position = 0;
  return true;
}
bool FakeDevice::ReadFile(char* buffer, uint32_t count) {
  if (!file_open || position + count > static_cast<int64_t>(file.size())) return false;
  std::memcpy(buffer, file.data() + position, count);
  position += count;
  return true;
}
bool FakeDevice::WriteFile(const char* buffer, uint32_t count) {
  file.replace(static_cast<size_t>(position), count, buffer, count);
  position += count;
  return true;
}
int64_t FakeDevice::Seek(int64_t offset, int origin) {
  if (!file_open) return -1;
  position = (origin == 0 ? 0 : origin == 1 ? static_cast<int64_t>(file.size()) : position) + offset;
  return position;
}
bool FakeDevice::OpenKey(uint32_t root, const std::string& key) {
  log_.push_back(Call("DeviceOpenKey", {std::to_string(root), key}));
  return true;
}
bool FakeDevice::DeleteKey(uint32_t root, const std::string& key) {
  log_.push_back(Call("DeviceDeleteKey", {std::to_string(root), key}));
  return true;
}
bool FakeDevice::DeleteValue(const std::string& name) {
  return values.erase(name) > 0;
}
std::optional<uint32_t> FakeDevice::ValueType(const std::string& name) {
  const auto found = values.find(name);
  if (found == values.end()) return std::nullopt;
  return found->second.first;
}
std::optional<std::string> FakeDevice::ReadString(const std::string& name) {
  return values.at(name).second;
}
std::optional<int32_t> FakeDevice::ReadInteger(const std::string& name) {
  return std::stoi(values.at(name).second);
}
bool FakeDevice::WriteString(const std::string& name, const std::string& text) {
  values[name] = {kDeviceRegString, text};
  return true;
}
bool FakeDevice::WriteInteger(const std::string& name, int32_t value) {
  values[name] = {kDeviceRegDword, std::to_string(value)};
  return true;
}

bool FakeHttp::Get(const std::string& url, std::string& out) {
  log_.push_back(Call("Get", {url}));
  if (succeed) out = body;
  return succeed;
}
bool FakeHttp::Download(const std::string& url, const std::string& local_file,
                        const HttpProgressHandler& progress) {
  log_.push_back(Call("Download", {url, local_file}));
  if (progress) progress(HttpProgressEvent::kData, 5, 10);
  return succeed;
}
bool FakeHttp::Post(const std::string& url, const std::string& data) {
  log_.push_back(Call("Post", {url, data}));
  return succeed;
}
void FakeHttp::CancelDownload() {
  log_.push_back("Cancel()");
}

ScriptHarness::ScriptHarness(bool with_carriers, std::string folder) {
  ScriptServices services;
  auto fake_prompt = std::make_unique<FakePrompt>(log);
  auto fake_registry = std::make_unique<FakeRegistry>();
  auto fake_system = std::make_unique<FakeSystem>(log, folder);
  auto fake_dll = std::make_unique<FakeDll>(log);
  prompt = fake_prompt.get();
  registry = fake_registry.get();
  system = fake_system.get();
  dll = fake_dll.get();
  services.Prompt = std::move(fake_prompt);
  services.Registry = std::move(fake_registry);
  services.System = std::move(fake_system);
  services.Dll = std::move(fake_dll);
  if (with_carriers) {
    auto fake_device = std::make_unique<FakeDevice>(log);
    auto fake_http = std::make_unique<FakeHttp>(log);
    device = fake_device.get();
    http = fake_http.get();
    services.Device = std::move(fake_device);
    services.Http = std::move(fake_http);
    services.HotSync = &hotsync;
  }
  engine = std::make_unique<TScriptEngine>(vars, std::move(services));
}

}  // namespace kvb
