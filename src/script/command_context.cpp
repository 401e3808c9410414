#include "script/command_context.h"

#include "script/conversion.h"
#include "vars/variables.h"

namespace kvb {

std::string_view CommandContext::Raw(int n) const {
  return FieldText(statement_.Args[n - 1]);
}

std::string CommandContext::Arg(int n) const {
  return state.Vars.ExpandText(Raw(n), false);
}

int32_t CommandContext::IntArg(int n) const {
  return ScriptInteger(Arg(n));
}

void CommandContext::SetOutput(std::string_view value) const {
  state.Vars.SetVariable(Raw(1), value, false);
}

void CommandContext::SetErrorCode(std::string_view value) const {
  state.Vars.SetVariable("%ErrorCode%", value, false);
}

bool RunCommand(CommandContext& c) {
  return RunValueCommand(c) || RunListCommand(c) || RunTextFileCommand(c) ||
         RunRegistryCommand(c) || RunSystemCommand(c) || RunDeviceCommand(c) ||
         RunDeviceFileCommand(c) || RunCarrierCommand(c) || RunInternetCommand(c);
}

std::optional<uint32_t> RegistryRootByName(std::string_view name) {
  if (name == "HKEY_CLASSES_ROOT")
    return 0x80000000u;
  if (name == "HKEY_CURRENT_USER")
    return 0x80000001u;
  if (name == "HKEY_LOCAL_MACHINE")
    return 0x80000002u;
  return std::nullopt;
}

}  // namespace kvb
