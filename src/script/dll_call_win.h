// The DLLCALL command's caller on Windows.
#pragma once

#include <memory>

#include "script/dll_call.h"
#include "script/dll_invoke_win.h"

namespace kvb {

class TDLLCall : public DllCaller {
 public:
  // More arguments than this make the call fail instead of growing the stack without bound.
  static constexpr size_t kMaxArguments = 256;

  std::string CallString(const std::string& library,
                         const std::string& function,
                         const std::vector<DllArgument>& arguments) override;
  int32_t CallInteger(const std::string& library,
                      const std::string& function,
                      const std::vector<DllArgument>& arguments) override;
  bool Failed() const override { return Error; }

  bool Error = false;
  TDLLInvoke Invoker;
  // The arguments of the last call; strings stay valid until the next call.
  std::vector<DllArgument> Arguments;

 private:
  // Loads the library and calls the function; false on any failure.
  bool Call(const std::string& library,
            const std::string& function,
            const std::vector<DllArgument>& arguments,
            uint32_t& result);
};

}  // namespace kvb
