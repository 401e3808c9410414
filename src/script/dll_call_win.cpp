#include "script/dll_call_win.h"

#include "base/system_library_win.h"

namespace kvb {

namespace {

// "C:\..." or "\\server\share\...": a library the package names by its full path.
bool IsFullPath(const std::string& file) {
  const bool drive = file.size() > 2 && file[1] == ':' && (file[2] == '\\' || file[2] == '/');
  return drive || file.rfind("\\\\", 0) == 0;
}

}  // namespace

bool TDLLInvoke::Load(const std::string& file) {
  Unload();
  // No system dialog for a library that is missing or cannot be loaded.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // A bare name ("user32.dll") is searched in the system folder only, as every search of
  // the process is.
  Module = IsFullPath(file) ? LoadLibraryFromPath(file) : LoadLibraryA(file.c_str());
  SetErrorMode(previous);
  return Module != nullptr;
}

void TDLLInvoke::Unload() {
  if (Module)
    FreeLibrary(Module);
  Module = nullptr;
}

TDLLInvoke::Outcome TDLLInvoke::Invoke(const std::string& function,
                                       const std::vector<uint32_t>& words,
                                       uint32_t& result) {
  if (!Module)
    return Outcome::kNotFound;
  const FARPROC address = GetProcAddress(Module, function.c_str());
  if (!address)
    return Outcome::kNotFound;
  bool faulted = false;
  result = GuardedCall(reinterpret_cast<const void*>(address), words, faulted);
  return faulted ? Outcome::kFaulted : Outcome::kOk;
}

bool TDLLCall::Call(const std::string& library,
                    const std::string& function,
                    const std::vector<DllArgument>& arguments,
                    uint32_t& result) {
  Error = true;
  result = 0;
  Arguments = arguments;
  if (Arguments.size() > kMaxArguments || !Invoker.Load(library))
    return false;
  std::vector<uint32_t> words;
  for (const DllArgument& argument : Arguments) {
    words.push_back(argument.ArgKind == DllArgument::kString
                        ? reinterpret_cast<uint32_t>(argument.Text.c_str())
                        : static_cast<uint32_t>(argument.Value));
  }
  if (Invoker.Invoke(function, words, result) != TDLLInvoke::Outcome::kOk) {
    result = 0;
    return false;
  }
  Error = false;
  return true;
}

std::string TDLLCall::CallString(const std::string& library,
                                 const std::string& function,
                                 const std::vector<DllArgument>& arguments) {
  uint32_t returned = 0;
  std::string text;
  if (Call(library, function, arguments, returned)) {
    const char* pointer = reinterpret_cast<const char*>(returned);
    const std::optional<size_t> length = pointer ? GuardedStringLength(pointer) : size_t{0};
    Arguments.clear();
    uint32_t ignored = 0;
    if (!length) {
      Error = true;
    } else {
      text.assign(pointer, *length);
      // The library releases the string it allocated, when it can.
      if (Invoker.Invoke("freememory", {returned}, ignored) == TDLLInvoke::Outcome::kFaulted) {
        Error = true;
      }
    }
  }
  Invoker.Unload();
  if (Error)
    text.clear();
  return text;
}

int32_t TDLLCall::CallInteger(const std::string& library,
                              const std::string& function,
                              const std::vector<DllArgument>& arguments) {
  uint32_t returned = 0;
  Call(library, function, arguments, returned);
  Invoker.Unload();
  return static_cast<int32_t>(returned);
}

}  // namespace kvb
