// The internet commands: the online check, downloads, posts and text fetches through the
// HTTP transport. Every failure is silent: the output variable says "0" or stays empty.
#include "net/http_transport.h"
#include "script/command_context.h"

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

}  // namespace

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

}  // namespace kvb
