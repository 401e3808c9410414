#include "net/http_client.h"

#include <algorithm>
#include <utility>

namespace kvb {

namespace {

// How long one wait for news lasts at most, so that the idle time is checked.
constexpr uint32_t kWaitSliceMs = 250;

bool IsSuccess(uint32_t status) {
  return status >= 200 && status < 300;
}

// Whether an exchange that finished (`completed`: without a transport error) brought what
// it promised. A connection closed early can look like the end of a body: the announced
// length tells.
bool EndedInFull(bool completed,
                 const HttpRequest& request,
                 const std::optional<HttpResponseHead>& head,
                 uint64_t received) {
  if (!completed || !head)
    return false;
  return !request.ReadBody || !head->Length || *head->Length == received;
}

// Abandons the channel on every way out of an exchange, so its thread stops.
class AbandonOnExit {
 public:
  explicit AbandonOnExit(HttpChannel& channel) : channel_(channel) {}
  AbandonOnExit(const AbandonOnExit&) = delete;
  AbandonOnExit& operator=(const AbandonOnExit&) = delete;
  ~AbandonOnExit() { channel_.Abandon(); }

 private:
  HttpChannel& channel_;
};

}  // namespace

HttpClient::HttpClient(std::unique_ptr<HttpPlatform> platform, const HttpClientLimits& limits)
    : platform_(std::move(platform)), limits_(limits) {}

bool HttpClient::Get(const std::string& url, std::string& body) {
  std::string text;
  const bool ok = Exchange(
      {"GET", url, "", true},
      [&](std::string_view block, const HttpResponseHead&) {
        if (block.size() > limits_.MaxTextBytes - text.size())
          return false;
        text.append(block);
        return true;
      },
      false);
  if (ok)
    body = std::move(text);
  return ok;
}

bool HttpClient::Download(const std::string& url,
                          const std::string& local_file,
                          const HttpProgressHandler& progress) {
  std::unique_ptr<DownloadFile> file = platform_->CreateDownloadFile(local_file);
  if (!file)
    return false;
  uint64_t received = 0;
  const bool ok = Exchange(
      {"GET", url, "", true},
      [&](std::string_view block, const HttpResponseHead& head) {
        if (!file->Write(block))
          return false;
        received += block.size();
        if (progress)
          progress(HttpProgressEvent::kData, received, head.Length.value_or(0));
        return true;
      },
      true);
  return ok && file->Commit();
}

bool HttpClient::Post(const std::string& url, const std::string& data) {
  return Exchange({"POST", url, data, false}, {}, false);
}

void HttpClient::CancelDownload() {
  ++cancel_generation_;
}

bool HttpClient::Exchange(const HttpRequest& request,
                          const BodyHandler& on_block,
                          bool cancellable) {
  const uint64_t generation = cancel_generation_;
  std::shared_ptr<HttpSignal> signal = platform_->CreateSignal();
  if (!signal)
    return false;
  auto channel =
      std::make_shared<HttpChannel>([signal] { signal->Wake(); }, limits_.MaxWaitingBytes);
  if (!platform_->StartExchange(request, channel))
    return false;
  AbandonOnExit abandon(*channel);

  std::optional<HttpResponseHead> head;
  uint64_t received = 0;
  uint64_t last_news = platform_->NowMs();
  for (;;) {
    HttpChannel::News news = channel->Take();
    if (news.Head || !news.Blocks.empty() || news.Finished)
      last_news = platform_->NowMs();
    if (news.Head) {
      if (!IsSuccess(news.Head->Status))
        return false;
      head = news.Head;
    }
    for (const std::string& block : news.Blocks) {
      // Blocks arrive only after the head; each is handed on while the exchange is wanted.
      if (!head || !MayContinue(cancellable, generation, last_news) ||
          (on_block && !on_block(block, *head)))
        return false;
      received += block.size();
    }
    if (news.Finished)
      return EndedInFull(*news.Finished, request, head, received);
    if (!MayContinue(cancellable, generation, last_news) || !signal->Wait(WaitMs(last_news)))
      return false;
  }
}

uint32_t HttpClient::WaitMs(uint64_t last_news) const {
  const uint64_t idle = platform_->NowMs() - last_news;
  const uint64_t left = limits_.InactivityMs > idle ? limits_.InactivityMs - idle : 0;
  return static_cast<uint32_t>(std::min<uint64_t>(kWaitSliceMs, left));
}

bool HttpClient::MayContinue(bool cancellable, uint64_t generation, uint64_t last_news) const {
  if (cancellable && cancel_generation_ != generation)
    return false;
  return platform_->NowMs() - last_news < limits_.InactivityMs;
}

}  // namespace kvb
