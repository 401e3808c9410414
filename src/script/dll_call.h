// Calls into exported functions of DLLs for the DLLCALL command: the argument list parsed
// from its text form, and the caller interface that the Win32 `TDLLCall` implements.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvb {

// One argument: a string passed as a pointer to its own zero-terminated copy, or a 32-bit
// integer passed by value.
struct DllArgument {
  enum Kind : uint8_t { kPointer = 0, kString = 1, kInteger = 3 };
  Kind ArgKind = kInteger;
  std::string Text;   // kString
  int32_t Value = 0;  // kInteger
  bool operator==(const DllArgument&) const = default;
};

// Parses an argument text such as '"abc", 5, -1': double quotes enclose a string (no
// escapes; '""' is the empty string), commas end unquoted pieces, which are trimmed of
// blanks and control characters and, when not empty, converted as integers. Throws
// ScriptConversionError for a piece that is not a number after keeping its digits and
// minus signs (such as "-").
std::vector<DllArgument> ParseDllArguments(std::string_view text);

class DllCaller {
 public:
  virtual ~DllCaller() = default;
  // Loads the library, calls the function with the arguments (the first argument is the
  // first parameter), copies the returned string, releases it through the library's
  // "freememory" when exported, and unloads the library. Empty on failure.
  virtual std::string CallString(const std::string& library,
                                 const std::string& function,
                                 const std::vector<DllArgument>& arguments) = 0;
  // The same for a 32-bit result; 0 on failure.
  virtual int32_t CallInteger(const std::string& library,
                              const std::string& function,
                              const std::vector<DllArgument>& arguments) = 0;
  // Whether the last call failed: library not loaded, function not exported, too many
  // arguments, or an exception inside the call.
  virtual bool Failed() const = 0;
};

}  // namespace kvb
