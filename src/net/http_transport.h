// The HTTP client behind the script's internet commands. HttpClient (http_client.h) on
// WinINet (http_platform_win.h) implements it; without one every transfer fails silently.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kvb {

// Progress of a download, for the wizard's progress display: one kStart before the
// transfer, kData after each block of body data (bytes received so far and the length the
// server announced, 0 when unknown), one kEnd afterwards.
enum class HttpProgressEvent { kStart, kData, kEnd };
using HttpProgressHandler =
    std::function<void(HttpProgressEvent event, uint64_t received, uint64_t announced)>;

class HttpTransport {
 public:
  virtual ~HttpTransport() = default;
  // GET; the body on success. Never throws.
  virtual bool Get(const std::string& url, std::string& body) = 0;
  // GET into a local file, reporting kData events to `progress` (the caller reports kStart
  // and kEnd). The file is created, or an existing one replaced, once the body has arrived
  // in full; on failure no partial file is left and an existing file stays as it was.
  // CancelDownload makes a running download fail.
  virtual bool Download(const std::string& url,
                        const std::string& local_file,
                        const HttpProgressHandler& progress) = 0;
  // POST of `data` (no body when empty); the answer is discarded.
  virtual bool Post(const std::string& url, const std::string& data) = 0;
  virtual void CancelDownload() = 0;
};

}  // namespace kvb
