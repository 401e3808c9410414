// The HTTP client behind the script's internet commands. The socket-based transport
// implements this interface; without one every transfer fails silently.
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
  // GET into a newly created (replaced) local file, reporting kData events to `progress`
  // (the caller reports kStart and kEnd). On failure no partial file is left.
  // CancelDownload makes a running download fail.
  virtual bool Download(const std::string& url,
                        const std::string& local_file,
                        const HttpProgressHandler& progress) = 0;
  // POST of `data` (no body when empty); the answer is discarded.
  virtual bool Post(const std::string& url, const std::string& data) = 0;
  virtual void CancelDownload() = 0;
};

}  // namespace kvb
