#include "script_fakes.h"

#include <cstring>
#include <stdexcept>

#include "setupdata/command_table.h"

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
    for (size_t i = 0; i < line.args.size() && i < 5; ++i)
      statement.Args[i] = line.args[i];
    statement.Guard = line.guard;
    script.Statements.push_back(statement);
  }
  script.Count = static_cast<int32_t>(script.Statements.size());
  return script;
}

std::optional<RegistryValue> FakeRegistry::ReadValue(RegistryRoot root,
                                                     const std::string& key,
                                                     const std::string& name) {
  const auto found = values.find({static_cast<uint32_t>(root), key, name});
  if (found == values.end())
    return std::nullopt;
  return found->second;
}

std::string FakeDll::Describe(const std::vector<DllArgument>& arguments) {
  std::vector<std::string> parts;
  for (const DllArgument& a : arguments) {
    parts.push_back(a.ArgKind == DllArgument::kString ? "'" + a.Text + "'"
                                                      : std::to_string(a.Value));
  }
  return JoinText(parts, " ");
}

bool FakeDevice::ReadFile(char* buffer, uint32_t count) {
  if (!file_open || position + count > static_cast<int64_t>(file.size()))
    return false;
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
  if (!file_open)
    return -1;
  const int64_t base = origin == 0 ? 0 : origin == 1 ? static_cast<int64_t>(file.size()) : position;
  return position = base + offset;
}

std::optional<uint32_t> FakeDevice::ValueType(const std::string& name) {
  const auto found = values.find(name);
  if (found == values.end())
    return std::nullopt;
  return found->second.first;
}

ScriptHarness::ScriptHarness(bool with_carriers, std::string folder) {
  ScriptServices services;
  services.Prompt = std::make_unique<FakePrompt>(log);
  services.Registry = std::make_unique<FakeRegistry>();
  services.System = std::make_unique<FakeSystem>(log, folder);
  services.Dll = std::make_unique<FakeDll>(log);
  prompt = static_cast<FakePrompt*>(services.Prompt.get());
  registry = static_cast<FakeRegistry*>(services.Registry.get());
  system = static_cast<FakeSystem*>(services.System.get());
  dll = static_cast<FakeDll*>(services.Dll.get());
  if (with_carriers) {
    services.Device = std::make_unique<FakeDevice>(log);
    services.Http = std::make_unique<FakeHttp>(log);
    services.HotSync = &hotsync;
    device = static_cast<FakeDevice*>(services.Device.get());
    http = static_cast<FakeHttp*>(services.Http.get());
  }
  engine = std::make_unique<TScriptEngine>(vars, std::move(services));
}

}  // namespace kvb
