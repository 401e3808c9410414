// Messages, variables, arithmetic and number texts.
#include <cstdio>

#include "base/text.h"
#include "script/command_context.h"
#include "vars/variables.h"

namespace kvb {
namespace {

constexpr uint32_t kYesNoStyle = 0x04;
constexpr uint32_t kSecondButtonDefault = 0x100;
constexpr int kIdYes = 6;
// PADZEROS never builds a text longer than this.
constexpr int32_t kMaxPadWidth = 65536;

uint32_t IconStyle(std::string_view kind) {
  if (kind == "QUESTION")
    return 0x20;
  if (kind == "INFORMATION")
    return 0x40;
  if (kind == "ERROR")
    return 0x10;
  if (kind == "WARNING")
    return 0x30;
  return 0;
}

void Message(CommandContext& c) {
  if (!c.state.Services.Prompt)
    return;
  c.state.Services.Prompt->ShowMessage(c.Arg(1), c.Arg(2), IconStyle(c.Raw(3)));
}

void Ask(CommandContext& c) {
  uint32_t style = kYesNoStyle | IconStyle(c.Raw(4));
  if (SameText(c.Arg(1), "NO"))
    style |= kSecondButtonDefault;
  int answer = 0;
  if (c.state.Services.Prompt)
    answer = c.state.Services.Prompt->ShowMessage(c.Arg(2), c.Arg(3), style);
  c.SetOutput(answer == kIdYes ? "YES" : "NO");
}

// Signed 32-bit arithmetic with wrap-around; division and remainder by 0 as the command
// defines them, and INT32_MIN / -1 wrapping instead of trapping.
int32_t Calculate(int32_t a, std::string_view operation, int32_t b) {
  const uint32_t ua = static_cast<uint32_t>(a);
  const uint32_t ub = static_cast<uint32_t>(b);
  if (SameText(operation, "ADDITION"))
    return static_cast<int32_t>(ua + ub);
  if (SameText(operation, "SUBTRACTION"))
    return static_cast<int32_t>(ua - ub);
  if (SameText(operation, "MULTIPLICATION"))
    return static_cast<int32_t>(ua * ub);
  if (SameText(operation, "DIVISION")) {
    if (b == 0)
      return 0;
    if (b == -1)
      return static_cast<int32_t>(0u - ua);
    return a / b;
  }
  if (SameText(operation, "REMAINDER")) {
    if (b == 0)
      return a;
    if (b == -1)
      return 0;
    return a % b;
  }
  return a;
}

void Random(CommandContext& c) {
  const int32_t base = c.IntArg(2);
  const int32_t range = c.IntArg(3);
  uint32_t r = 0;
  if (range > 0) {
    r = static_cast<uint32_t>((uint64_t{c.state.Random()} * static_cast<uint32_t>(range)) >> 32);
  }
  c.SetOutput(std::to_string(static_cast<int32_t>(static_cast<uint32_t>(base) + r)));
}

void ToHex(CommandContext& c) {
  const int32_t value = ParseLenientInt(c.Arg(1)).value_or(0);
  char text[16];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
  c.SetOutput(text);
}

// 1 to 8 significant hexadecimal digits; nullopt for anything else.
std::optional<uint32_t> ParseHex(std::string_view text) {
  if (text.empty())
    return std::nullopt;
  uint64_t value = 0;
  for (char ch : text) {
    int digit;
    if (ch >= '0' && ch <= '9') {
      digit = ch - '0';
    } else if (UpperAscii(ch) >= 'A' && UpperAscii(ch) <= 'F') {
      digit = UpperAscii(ch) - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * 16 + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFu)
      return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

void FromHex(CommandContext& c) {
  c.SetOutput(std::to_string(ParseHex(c.Arg(1)).value_or(0)));
}

void PadZeros(CommandContext& c) {
  std::string value = c.Arg(1);
  const int32_t width = std::min(c.IntArg(2), kMaxPadWidth);
  if (width > static_cast<int32_t>(value.size()))
    value.insert(0, width - value.size(), '0');
  c.SetOutput(value);
}

void Wait(CommandContext& c) {
  const int32_t milliseconds = c.IntArg(1);
  if (milliseconds > 0 && c.state.Services.System)
    c.state.Services.System->Sleep(milliseconds);
}

}  // namespace

bool RunValueCommand(CommandContext& c) {
  switch (c.Code()) {
    case 1:
      Message(c);
      return true;
    case 2:
      Ask(c);
      return true;
    case 56:
      c.state.Vars.SetVariable(c.Raw(1), c.Arg(2), c.Raw(3) == "1");
      return true;
    case 35: {
      const int32_t a = c.IntArg(2);
      const int32_t b = c.IntArg(4);
      c.SetOutput(std::to_string(Calculate(a, c.Raw(3), b)));
      return true;
    }
    case 42:
      Random(c);
      return true;
    case 106:
      ToHex(c);
      return true;
    case 107:
      FromHex(c);
      return true;
    case 112:
      PadZeros(c);
      return true;
    case 110:
      Wait(c);
      return true;
    default:
      return false;
  }
}

}  // namespace kvb
