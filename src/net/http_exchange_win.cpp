#include "net/http_exchange_win.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

namespace kvb {

namespace {

constexpr char kUserAgent[] = "Kalvenbrooker Setup";
constexpr char kPostHeaders[] = "Content-Type: application/x-www-form-urlencoded\r\n";
constexpr DWORD kBlockSize = 64 * 1024;

struct UrlParts {
  bool Secure = false;
  std::string Host;
  INTERNET_PORT Port = 0;
  std::string User;
  std::string Password;
  std::string Path;  // with the query
};

// Splits an http or https URL; nullopt for anything else.
std::optional<UrlParts> SplitUrl(const WinInetApi& api, const std::string& url) {
  // Lengths without buffers: the parts come back as pointers into `url`.
  URL_COMPONENTSA parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = 1;
  parts.dwUserNameLength = 1;
  parts.dwPasswordLength = 1;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (!api.CrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
    return std::nullopt;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
    return std::nullopt;
  auto text = [](const char* start, DWORD length) {
    return start ? std::string(start, length) : std::string();
  };
  UrlParts result;
  result.Secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  result.Host = text(parts.lpszHostName, parts.dwHostNameLength);
  result.Port = parts.nPort;
  result.User = text(parts.lpszUserName, parts.dwUserNameLength);
  result.Password = text(parts.lpszPassword, parts.dwPasswordLength);
  result.Path = text(parts.lpszUrlPath, parts.dwUrlPathLength) +
                text(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (result.Host.empty())
    return std::nullopt;
  if (result.Path.empty())
    result.Path = "/";
  return result;
}

void SetTimeouts(const WinInetApi& api, HINTERNET handle, DWORD timeout_ms) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    api.SetOption(handle, option, &timeout_ms, sizeof(timeout_ms));
  }
}

// Always a fresh answer from the server, nothing left in the user's cache or cookies, no
// dialogs. Redirections are followed, from http to https too; from https to http they
// fail (WinINet's default), so a secure download never continues in the clear.
DWORD RequestFlags(bool secure) {
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES |
                INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  if (secure)
    flags |= INTERNET_FLAG_SECURE;
  return flags;
}

std::optional<HttpResponseHead> QueryHead(const WinInetApi& api, HINTERNET request) {
  HttpResponseHead head;
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!api.QueryInfo(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                     nullptr)) {
    return std::nullopt;
  }
  head.Status = status;
  char text[32];
  size = sizeof(text);
  if (api.QueryInfo(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) {
    uint64_t length = 0;
    const auto [end, error] = std::from_chars(text, text + size, length);
    if (error == std::errc() && end == text + size)
      head.Length = length;
  }
  return head;
}

// The handles of one request; members close in reverse order, the request first.
struct OpenedRequest {
  InternetHandle Session;
  InternetHandle Connection;
  InternetHandle Request;
};

std::optional<OpenedRequest> OpenRequest(const WinInetApi& api,
                                         const std::string& method,
                                         const UrlParts& url,
                                         DWORD timeout_ms) {
  OpenedRequest opened;
  opened.Session =
      InternetHandle(api, api.Open(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!opened.Session)
    return std::nullopt;
  SetTimeouts(api, opened.Session.Get(), timeout_ms);
  opened.Connection =
      InternetHandle(api, api.Connect(opened.Session.Get(), url.Host.c_str(), url.Port,
                                      url.User.empty() ? nullptr : url.User.c_str(),
                                      url.Password.empty() ? nullptr : url.Password.c_str(),
                                      INTERNET_SERVICE_HTTP, 0, 0));
  if (!opened.Connection)
    return std::nullopt;
  const char* accept[] = {"*/*", nullptr};
  opened.Request = InternetHandle(
      api, api.OpenRequest(opened.Connection.Get(), method.c_str(), url.Path.c_str(), "HTTP/1.1",
                           nullptr, accept, RequestFlags(url.Secure), 0));
  if (!opened.Request)
    return std::nullopt;
  // Set on the request as well: not every WinINet takes them over from the session.
  SetTimeouts(api, opened.Request.Get(), timeout_ms);
  return opened;
}

bool Send(const WinInetApi& api, HINTERNET request, const std::string& body) {
  const bool has_body = !body.empty();
  return api.SendRequest(request, has_body ? kPostHeaders : nullptr,
                         has_body ? static_cast<DWORD>(sizeof(kPostHeaders) - 1) : 0,
                         has_body ? const_cast<char*>(body.data()) : nullptr,
                         static_cast<DWORD>(body.size())) != FALSE;
}

// Hands the body to the channel block by block; true at its end.
bool ReadBody(const WinInetApi& api, HINTERNET request, HttpChannel& channel) {
  for (;;) {
    // A plain read waits until its buffer is full; asking first what has arrived lets a
    // slow transfer report (and be cancelled) block by block.
    DWORD available = 0;
    if (!api.QueryDataAvailable(request, &available, 0, 0))
      return false;
    // None available should mean the end; a read of one byte makes sure of it.
    const DWORD wanted = available == 0 ? 1 : std::min(available, kBlockSize);
    std::string block(wanted, '\0');
    DWORD read = 0;
    if (!api.Read(request, block.data(), wanted, &read))
      return false;
    if (read == 0)
      return true;
    block.resize(read);
    if (!channel.PutData(std::move(block)))
      return false;
  }
}

// Sends the request and hands its answer to the channel; false when the exchange failed.
bool Exchange(const WinInetApi& api,
              const HttpRequest& request,
              DWORD timeout_ms,
              HttpChannel& channel) {
  const std::optional<UrlParts> url = SplitUrl(api, request.Url);
  if (!url)
    return false;
  std::optional<OpenedRequest> opened = OpenRequest(api, request.Method, *url, timeout_ms);
  if (!opened || !Send(api, opened->Request.Get(), request.Body))
    return false;
  const std::optional<HttpResponseHead> head = QueryHead(api, opened->Request.Get());
  if (!head || !channel.PutHead(*head))
    return false;
  return !request.ReadBody || ReadBody(api, opened->Request.Get(), channel);
}

}  // namespace

void RunHttpExchange(const WinInetApi& api,
                     const HttpRequest& request,
                     uint32_t timeout_ms,
                     HttpChannel& channel) {
  bool completed = false;
  try {
    completed = Exchange(api, request, timeout_ms, channel);
  } catch (...) {
    // Out of memory for a block: the exchange fails like any other.
  }
  channel.Finish(completed);
}

}  // namespace kvb
