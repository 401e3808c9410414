// Desktop registry: READREG, WRITEREG, DELETEREG (the root keyword persists from one
// registry command to the next) and ISINSTALLED.
#include "script/command_context.h"
#include "script/conversion.h"
#include "vars/variables.h"

namespace kvb {
namespace {

constexpr std::string_view kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

RegistryRoot SelectRoot(CommandContext& c, std::string_view keyword) {
  if (const std::optional<uint32_t> root = RegistryRootByName(keyword)) {
    c.state.RegRoot = static_cast<RegistryRoot>(*root);
  }
  return c.state.RegRoot;
}

void ReadReg(CommandContext& c, ScriptRegistry* registry) {
  const RegistryRoot root = SelectRoot(c, c.Raw(2));
  std::optional<RegistryValue> value;
  if (registry)
    value = registry->ReadValue(root, RegistryKeyPath(c.Arg(3)), c.Arg(4));
  if (value && value->Type == kRegString) {
    c.SetOutput(value->Text);
  } else if (value && value->Type == kRegDword) {
    c.SetOutput(std::to_string(static_cast<int32_t>(value->Number)));
  } else {
    c.SetOutput(c.Arg(5));
  }
}

// Data of digits only is a REG_DWORD; anything else, the empty text included, a REG_SZ.
void WriteReg(CommandContext& c, ScriptRegistry* registry) {
  const RegistryRoot root = SelectRoot(c, c.Raw(1));
  const std::string key = RegistryKeyPath(c.Arg(2));
  const std::string name = c.Arg(3);
  const std::string data = c.Arg(4);
  if (IsDigitsOnly(data)) {
    const int32_t number = ScriptInteger(data);
    if (registry)
      registry->WriteDword(root, key, name, static_cast<uint32_t>(number));
  } else if (registry) {
    registry->WriteString(root, key, name, data);
  }
}

void DeleteReg(CommandContext& c, ScriptRegistry* registry) {
  const RegistryRoot root = SelectRoot(c, c.Raw(1));
  const std::string key = RegistryKeyPath(c.Arg(2));
  const std::string name = c.Arg(3);
  if (!registry)
    return;
  if (name.empty()) {
    registry->DeleteKey(root, key);
  } else {
    registry->DeleteValue(root, key, name);
  }
}

void IsInstalled(CommandContext& c, ScriptRegistry* registry) {
  const std::string key = std::string(kUninstallKey) + c.Arg(3) + " " + c.Arg(2);
  const bool installed =
      registry && registry->ValueExists(RegistryRoot::kLocalMachine, key, "DisplayVersion");
  c.SetOutput(installed ? "1" : "0");
}

}  // namespace

bool RunRegistryCommand(CommandContext& c) {
  ScriptRegistry* registry = c.state.Services.Registry.get();
  switch (c.Code()) {
    case 11:
      ReadReg(c, registry);
      return true;
    case 12:
      WriteReg(c, registry);
      return true;
    case 13:
      DeleteReg(c, registry);
      return true;
    case 57:
      IsInstalled(c, registry);
      return true;
    default:
      return false;
  }
}

}  // namespace kvb
