#include "net/http_channel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kvb {
namespace {

// Counts wake-ups and lets the test wait for the next one.
class Waker {
 public:
  std::function<void()> Function() {
    return [this] {
      std::lock_guard lock(mutex_);
      ++wakes_;
      changed_.notify_all();
    };
  }
  void WaitBeyond(int seen) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return wakes_ > seen; });
  }
  int Wakes() {
    std::lock_guard lock(mutex_);
    return wakes_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int wakes_ = 0;
};

TEST(HttpChannelTest, BlocksWaitWithinTheBoundAndArriveInOrder) {
  Waker waker;
  HttpChannel channel(waker.Function(), 4);
  std::thread worker([&] {
    EXPECT_TRUE(channel.PutHead({200, 12}));
    for (const char* block : {"aaaa", "bb", "cc", "dddd"})
      EXPECT_TRUE(channel.PutData(block));
    channel.Finish(true);
  });
  std::string body;
  std::optional<bool> finished;
  bool head_seen = false;
  while (!finished) {
    const int seen = waker.Wakes();
    HttpChannel::News news = channel.Take();
    head_seen = head_seen || news.Head.has_value();
    size_t bytes = 0;
    for (const std::string& block : news.Blocks) {
      bytes += block.size();
      body += block;
    }
    EXPECT_LE(bytes, 4u);
    finished = news.Finished;
    if (!finished && news.Blocks.empty() && !news.Head)
      waker.WaitBeyond(seen);
  }
  worker.join();
  EXPECT_TRUE(head_seen);
  EXPECT_EQ(body, "aaaabbccdddd");
  EXPECT_TRUE(*finished);
  EXPECT_FALSE(channel.Take().Finished) << "the end is reported once";
}

TEST(HttpChannelTest, AbandonReleasesAWaitingWorker) {
  Waker waker;
  HttpChannel channel(waker.Function(), 4);
  std::atomic<bool> second_put_result{true};
  std::thread worker([&] {
    channel.PutData("aaaa");
    second_put_result = channel.PutData("bbbb");  // no room until the channel is abandoned
  });
  waker.WaitBeyond(0);  // the first block is in; the second put waits for room
  channel.Abandon();
  worker.join();
  EXPECT_FALSE(second_put_result);
  EXPECT_FALSE(channel.PutHead({200, {}}));
  channel.Finish(true);
  EXPECT_FALSE(channel.Take().Finished) << "an abandoned exchange does not finish";
}

TEST(HttpChannelTest, OversizedBlockPassesAnEmptyChannel) {
  HttpChannel channel([] {}, 4);
  EXPECT_TRUE(channel.PutData("0123456789"));
  EXPECT_EQ(channel.Take().Blocks, std::vector<std::string>{"0123456789"});
}

}  // namespace
}  // namespace kvb
