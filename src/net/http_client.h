// The HTTP client behind the script's internet commands, independent of the system's HTTP
// library: the platform carries out each exchange on a thread of its own and the client
// waits for it on the user-interface thread, keeping window messages flowing, so the
// wizard stays usable and a control's script can cancel a running download.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "net/http_channel.h"
#include "net/http_transport.h"

namespace kvb {

// A download is written to a file of its own beside the target, which replaces the target
// only once the transfer has succeeded: a failed download leaves neither a partial file
// nor a damaged target.
class DownloadFile {
 public:
  // Without Commit the written file is removed and the target stays as it was.
  virtual ~DownloadFile() = default;
  virtual bool Write(std::string_view data) = 0;
  // Replaces (or creates) the target with the written file; false when that fails.
  virtual bool Commit() = 0;
};

// Wakes the user-interface thread while it waits for one exchange.
class HttpSignal {
 public:
  virtual ~HttpSignal() = default;
  // Called on the exchange's thread.
  virtual void Wake() = 0;
  // Handles window messages until woken or `milliseconds` have passed; false when the
  // program has been asked to quit.
  virtual bool Wait(uint32_t milliseconds) = 0;
};

// What the client needs from the system.
class HttpPlatform {
 public:
  virtual ~HttpPlatform() = default;
  virtual std::shared_ptr<HttpSignal> CreateSignal() = 0;
  // Starts carrying out `request` on another thread, reporting into `channel`; false when
  // it cannot start.
  virtual bool StartExchange(const HttpRequest& request, std::shared_ptr<HttpChannel> channel) = 0;
  virtual uint64_t NowMs() = 0;  // a monotonic clock
  // Null when the file cannot be created (for example, its folder is missing).
  virtual std::unique_ptr<DownloadFile> CreateDownloadFile(const std::string& target) = 0;
};

struct HttpClientLimits {
  // A transfer fails when neither the answer nor more body data arrives for this long.
  uint32_t InactivityMs = 30000;
  // Bodies kept in memory (GETTEXT, ONLINECHECK) fail beyond this size.
  size_t MaxTextBytes = 16 * 1024 * 1024;
  // Body data waiting between the exchange's thread and the user-interface thread.
  size_t MaxWaitingBytes = 1024 * 1024;
};

class HttpClient : public HttpTransport {
 public:
  explicit HttpClient(std::unique_ptr<HttpPlatform> platform, const HttpClientLimits& limits = {});

  // Every call succeeds only with a 2xx answer (after redirections) whose body, when a
  // length was announced, arrived in full.
  bool Get(const std::string& url, std::string& body) override;
  bool Download(const std::string& url,
                const std::string& local_file,
                const HttpProgressHandler& progress) override;
  bool Post(const std::string& url, const std::string& data) override;
  // Ends every download running now; later ones are not affected.
  void CancelDownload() override;

 private:
  using BodyHandler = std::function<bool(std::string_view block, const HttpResponseHead& head)>;
  // Runs one exchange to its end, handing each body block to `on_block` (false from it
  // fails the exchange). `cancellable`: CancelDownload ends it.
  bool Exchange(const HttpRequest& request, const BodyHandler& on_block, bool cancellable);
  // True while the exchange may go on: not cancelled, not idle for too long.
  bool MayContinue(bool cancellable, uint64_t generation, uint64_t last_news) const;
  // How long the next wait for news may last: a slice, or what is left of the idle time.
  uint32_t WaitMs(uint64_t last_news) const;

  std::unique_ptr<HttpPlatform> platform_;
  HttpClientLimits limits_;
  uint64_t cancel_generation_ = 0;
};

}  // namespace kvb
