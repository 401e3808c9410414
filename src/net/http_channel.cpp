#include "net/http_channel.h"

#include <utility>

namespace kvb {

HttpChannel::HttpChannel(std::function<void()> wake, size_t max_waiting_bytes)
    : wake_(std::move(wake)), max_waiting_bytes_(max_waiting_bytes) {}

bool HttpChannel::PutHead(const HttpResponseHead& head) {
  {
    std::lock_guard lock(mutex_);
    if (Closed())
      return false;
    head_ = head;
  }
  wake_();
  return true;
}

bool HttpChannel::PutData(std::string block) {
  {
    std::unique_lock lock(mutex_);
    room_.wait(lock, [&] {
      return Closed() || waiting_bytes_ == 0 || waiting_bytes_ + block.size() <= max_waiting_bytes_;
    });
    if (Closed())
      return false;
    waiting_bytes_ += block.size();
    blocks_.push_back(std::move(block));
  }
  wake_();
  return true;
}

void HttpChannel::Finish(bool completed) {
  {
    std::lock_guard lock(mutex_);
    if (Closed())
      return;
    finished_ = completed;
  }
  wake_();
}

HttpChannel::News HttpChannel::Take() {
  News news;
  {
    std::lock_guard lock(mutex_);
    news.Head = std::exchange(head_, std::nullopt);
    news.Blocks = std::exchange(blocks_, {});
    waiting_bytes_ = 0;
    if (finished_ && !finish_taken_) {
      news.Finished = finished_;
      finish_taken_ = true;
    }
  }
  room_.notify_all();
  return news;
}

void HttpChannel::Abandon() {
  {
    std::lock_guard lock(mutex_);
    abandoned_ = true;
  }
  room_.notify_all();
}

}  // namespace kvb
