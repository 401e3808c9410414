// Loading a DLL and calling one of its exports with a prepared argument list.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvb {

// Calls `function` with `words` pushed so that words[0] is the first parameter, restores
// the stack pointer afterwards (so functions that remove their parameters and functions
// that leave that to the caller both work), and returns its 32-bit result. An exception
// that the function does not handle itself ends the call: `faulted` is set and 0 returned.
uint32_t GuardedCall(const void* function, const std::vector<uint32_t>& words, bool& faulted);

// Length of a zero-terminated string behind a pointer a DLL returned; nullopt when reading
// it raises an exception.
std::optional<size_t> GuardedStringLength(const char* text);

class TDLLInvoke {
 public:
  TDLLInvoke() = default;
  TDLLInvoke(const TDLLInvoke&) = delete;
  TDLLInvoke& operator=(const TDLLInvoke&) = delete;
  ~TDLLInvoke() { Unload(); }

  // Unloads a previous library, then loads `file`; false when it does not load.
  bool Load(const std::string& file);
  void Unload();
  enum class Outcome { kOk, kNotFound, kFaulted };
  // Calls the export `function` of the loaded library.
  Outcome Invoke(const std::string& function, const std::vector<uint32_t>& words, uint32_t& result);

  HMODULE Module = nullptr;
};

}  // namespace kvb
