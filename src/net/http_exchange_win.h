// One HTTP exchange carried out with blocking WinINet calls on the calling thread (an
// exchange thread of the transport, never the user-interface thread).
#pragma once

#include <cstdint>

#include "net/http_channel.h"
#include "net/wininet_api_win.h"

namespace kvb {

// Sends `request` and reports the answer into `channel`: the head (status after
// redirections and announced length), the body in blocks when the request wants it, then
// the end. Stops as soon as the channel is abandoned. `timeout_ms` bounds connecting and
// each send and receive. HTTPS certificates are checked; a bad one fails the exchange.
// Never throws.
void RunHttpExchange(const WinInetApi& api,
                     const HttpRequest& request,
                     uint32_t timeout_ms,
                     HttpChannel& channel);

}  // namespace kvb
