// What a command handler sees: the shared run state and the statement's arguments.
#pragma once

#include <string>
#include <string_view>

#include "base/registry_types.h"
#include "script/script_engine.h"

namespace kvb {

class CommandContext {
 public:
  CommandContext(ScriptRuntime& runtime, const TScriptStatement& statement)
      : state(runtime), statement_(statement) {}

  ScriptRuntime& state;

  uint8_t Code() const { return statement_.CommandCode(); }
  // Argument n (1 to 5) as written: keywords, flags and variable names.
  std::string_view Raw(int n) const;
  // Argument n expanded through the variables, without escaping.
  std::string Arg(int n) const;
  // Argument n expanded and converted; throws ScriptConversionError.
  int32_t IntArg(int n) const;
  // Writes the output variable named by argument 1.
  void SetOutput(std::string_view value) const;
  void SetErrorCode(std::string_view value) const;

 private:
  const TScriptStatement& statement_;
};

// Runs the statement's command when the interpreter has a handler for its code; false when
// the code belongs to the wizard.
bool RunCommand(CommandContext& c);

// The command families; each returns false for a code outside its family.
bool RunValueCommand(CommandContext& c);
bool RunListCommand(CommandContext& c);
bool RunTextFileCommand(CommandContext& c);
bool RunRegistryCommand(CommandContext& c);
bool RunSystemCommand(CommandContext& c);
bool RunDeviceCommand(CommandContext& c);
bool RunDeviceFileCommand(CommandContext& c);
bool RunCarrierCommand(CommandContext& c);
bool RunInternetCommand(CommandContext& c);

// Registry root keyword ("HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
// exact case) to its handle value; nullopt for any other text, which keeps the previous root.
std::optional<uint32_t> RegistryRootByName(std::string_view name);

}  // namespace kvb
