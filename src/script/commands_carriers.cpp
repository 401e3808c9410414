// Commands carried by other subsystems: HotSync users, the maintenance detection and DLL
// calls.
#include "devices/hotsync_users.h"
#include "script/command_context.h"
#include "uninstall/previous_install.h"
#include "vars/variables.h"

namespace kvb {
namespace {

// DLLCALL: the argument text is A4 directly followed by A5, expanded as a whole.
void DllCall(CommandContext& c) {
  const std::string library = c.Arg(1);
  const std::string function = c.Arg(2);
  const std::string text = c.state.Vars.ExpandText(std::string(c.Raw(4)) + std::string(c.Raw(5)));
  const std::vector<DllArgument> arguments = ParseDllArguments(text);
  DllCaller* dll = c.state.Services.Dll.get();
  std::string result;
  if (dll && c.Raw(3) == "STRING") {
    result = dll->CallString(library, function, arguments);
  } else if (dll) {
    result = std::to_string(dll->CallInteger(library, function, arguments));
  }
  if (!dll || dll->Failed()) {
    c.SetErrorCode("2");
    result = "ERROR";
  }
  c.state.Vars.SetVariable("%DLLResult%", result, false);
}

}  // namespace

bool RunCarrierCommand(CommandContext& c) {
  HotSyncUsers* hotsync = c.state.Services.HotSync;
  switch (c.Code()) {
    case 87:
      c.SetOutput(std::to_string(hotsync ? hotsync->UserCount() : 0));
      return true;
    case 88: {
      const int32_t index = c.IntArg(2);
      c.SetOutput(hotsync ? hotsync->UserName(index) : "");
      return true;
    }
    case 59:
      if (c.state.Services.Maintenance)
        c.state.Services.Maintenance->DetectPreviousInstall();
      return true;
    case 24:
      DllCall(c);
      return true;
    default:
      return false;
  }
}

}  // namespace kvb
