// The setup's HTTP transport on WinINet.
//
// WinINet rather than WinHTTP: it is the library for programs that a user runs on the
// desktop. It takes the user's own proxy and automatic proxy settings, exists on every
// Windows the setup runs on, and brings HTTP/1.0 and 1.1, redirections, chunked bodies and
// TLS with the system's certificate checks. wininet.dll is loaded at run time from the
// system folder.
#pragma once

#include <memory>

#include "net/http_client.h"

namespace kvb {

// Null when wininet.dll cannot be loaded; the script's internet commands then fail.
std::unique_ptr<HttpTransport> CreateWinInetTransport(const HttpClientLimits& limits = {});

}  // namespace kvb
