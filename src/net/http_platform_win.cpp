#include "net/http_platform_win.h"

#include <windows.h>

#include <chrono>
#include <system_error>
#include <thread>

#include "base/message_pump.h"
#include "base/unique_handle_win.h"
#include "net/download_file_win.h"
#include "net/http_exchange_win.h"
#include "net/wininet_api_win.h"

namespace kvb {

namespace {

// An auto-reset event set by the exchange's thread; the waiting thread handles window
// messages meanwhile.
class EventSignal : public HttpSignal {
 public:
  EventSignal() : event_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
  bool Valid() const { return event_.Valid(); }

  void Wake() override { SetEvent(event_.Get()); }

  bool Wait(uint32_t milliseconds) override {
    const HANDLE event = event_.Get();
    MsgWaitForMultipleObjects(1, &event, FALSE, milliseconds, QS_ALLINPUT);
    return ProcessPendingMessages();
  }

 private:
  UniqueHandle event_;
};

class WinInetPlatform : public HttpPlatform {
 public:
  WinInetPlatform(std::shared_ptr<const WinInetApi> api, uint32_t timeout_ms)
      : api_(std::move(api)), timeout_ms_(timeout_ms) {}

  std::shared_ptr<HttpSignal> CreateSignal() override {
    auto signal = std::make_shared<EventSignal>();
    return signal->Valid() ? signal : nullptr;
  }

  // The thread is detached: a cancelled exchange may still sit in a blocking call (WinINet
  // does not always break one off) and ends on its own within the timeout. It keeps the
  // library and the channel alive until then.
  bool StartExchange(const HttpRequest& request, std::shared_ptr<HttpChannel> channel) override {
    try {
      std::thread([api = api_, request, timeout = timeout_ms_, channel = std::move(channel)] {
        RunHttpExchange(*api, request, timeout, *channel);
      }).detach();
      return true;
    } catch (const std::system_error&) {
      return false;
    }
  }

  uint64_t NowMs() override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }

  std::unique_ptr<DownloadFile> CreateDownloadFile(const std::string& target) override {
    return CreateWinDownloadFile(target);
  }

 private:
  std::shared_ptr<const WinInetApi> api_;
  uint32_t timeout_ms_;
};

}  // namespace

std::unique_ptr<HttpTransport> CreateWinInetTransport(const HttpClientLimits& limits) {
  std::shared_ptr<const WinInetApi> api = WinInetApi::Load();
  if (!api)
    return nullptr;
  return std::make_unique<HttpClient>(
      std::make_unique<WinInetPlatform>(std::move(api), limits.InactivityMs), limits);
}

}  // namespace kvb
