// Commands carried by other subsystems: internet transfers, HotSync users, the maintenance
// detection and DLL calls.
#include "devices/hotsync_users.h"
#include "net/http_transport.h"
#include "script/command_context.h"
#include "uninstall/previous_install.h"
#include "vars/variables.h"

namespace kvb {
namespace {

std::string UrlArg(CommandContext& c, int n) {
  std::string url;
  for (char ch : c.Arg(n)) {
    if (ch == ' ') {
      url += "%20";
    } else {
      url += ch;
    }
  }
  return url;
}

void Notify(CommandContext& c, HttpProgressEvent event) {
  if (c.state.Hooks.DownloadNotification)
    c.state.Hooks.DownloadNotification(event, 0, 0);
}

void Download(CommandContext& c, HttpTransport* http) {
  const std::string url = UrlArg(c, 1);
  const std::string file = c.Arg(2);
  Notify(c, HttpProgressEvent::kStart);
  if (http) {
    HttpProgressHandler progress;
    if (c.state.Hooks.DownloadNotification)
      progress = c.state.Hooks.DownloadNotification;
    http->Download(url, file, progress);
  }
  Notify(c, HttpProgressEvent::kEnd);
}

bool RunInternetCommand(CommandContext& c) {
  HttpTransport* http = c.state.Services.Http.get();
  std::string body;
  switch (c.Code()) {
    case 51:
      c.SetOutput(http && http->Get(c.state.Options.OnlineCheckUrl, body) ? "1" : "0");
      return true;
    case 52:
      Download(c, http);
      return true;
    case 53: {
      const std::string url = UrlArg(c, 1);
      const std::string data = c.Arg(2);
      if (http)
        http->Post(url, data);
      return true;
    }
    case 54: {
      const std::string url = UrlArg(c, 2);
      if (!http || !http->Get(url, body))
        body.clear();
      c.SetOutput(body);
      return true;
    }
    case 111:
      if (http)
        http->CancelDownload();
      return true;
    default:
      return false;
  }
}

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
      return RunInternetCommand(c);
  }
}

}  // namespace kvb
