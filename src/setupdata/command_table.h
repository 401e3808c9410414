// The script command codes: the number of arguments each stores, whether its first
// argument names an output variable, and the readable name that the builder's script
// syntax and the package dumps use.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kvb {

// Codes with a fixed meaning in the interpreter (control flow and a few others).
enum CommandCode : uint8_t {
  kCmdFor = 29,
  kCmdEndFor = 30,
  kCmdWhile = 31,
  kCmdEndWhile = 32,
  kCmdIf = 46,
  kCmdEndIf = 47,
  kCmdLabel = 48,
  kCmdGoto = 49,
  kCmdExit = 50,
  kCmdBreak = 55,
  kCmdForEachSelected = 89,
  kCmdEndForEach = 90,
  kCmdElse = 105,
  kCmdCancel = 15,
  kCmdFinish = 25,
  kCmdDllCall = 24,
};

struct CommandInfo {
  std::string_view name;  // empty for codes without a known meaning
  uint8_t arg_count;      // arguments stored with the statement
  bool writes_variable;   // argument 1 names an output variable
};

// Codes 0-255; codes above 112 have no name and no arguments.
const CommandInfo& GetCommandInfo(uint8_t code);

// Arguments stored for a full 32-bit code: decided by its low byte; a low byte of 128
// or more stores as many as the code 128 below it.
int StoredArgumentCount(uint32_t code);

// Finds a code by its readable name (case-insensitive).
std::optional<uint8_t> FindCommandByName(std::string_view name);

}  // namespace kvb
