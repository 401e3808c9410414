// The hand-over between the thread that carries out one HTTP exchange with blocking calls
// and the user-interface thread that waits for it while window messages keep flowing.
//
// The worker puts the response head, the body blocks and the end; the waiting side takes
// whatever has arrived. Body blocks wait in the channel only up to a byte bound, so a fast
// server cannot fill the memory while the interface is busy. The waiting side may give up
// at any time (cancel, timeout, quit): it abandons the channel, the worker's next put fails
// (a put that waits for room returns at once) and the worker stops. Both sides hold the
// channel through a shared_ptr, so an abandoned worker may finish later on its own.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kvb {

// What the client asks for.
struct HttpRequest {
  std::string Method = "GET";  // "GET" or "POST"
  std::string Url;             // http:// or https://, already escaped
  std::string Body;            // sent with the request; none when empty
  bool ReadBody = true;        // false: the exchange ends with the response head
};

struct HttpResponseHead {
  uint32_t Status = 0;             // after redirections
  std::optional<uint64_t> Length;  // the announced Content-Length
};

class HttpChannel {
 public:
  // `wake` is called on the worker's thread whenever news arrives.
  HttpChannel(std::function<void()> wake, size_t max_waiting_bytes);
  HttpChannel(const HttpChannel&) = delete;
  HttpChannel& operator=(const HttpChannel&) = delete;

  // Worker side; each returns false once the exchange has been abandoned.
  bool PutHead(const HttpResponseHead& head);
  // Waits while the blocks already waiting reach the byte bound (a single larger block is
  // taken when nothing waits).
  bool PutData(std::string block);
  // The end of the exchange: `completed` when the body (or, without body, the head) was
  // received in full, false on any failure. Later puts are ignored.
  void Finish(bool completed);

  // Waiting side.
  struct News {
    std::optional<HttpResponseHead> Head;
    std::vector<std::string> Blocks;
    std::optional<bool> Finished;  // the value given to Finish, with the last blocks
  };
  // Everything that arrived since the last call.
  News Take();
  void Abandon();

 private:
  bool Closed() const { return abandoned_ || finished_.has_value(); }

  const std::function<void()> wake_;
  const size_t max_waiting_bytes_;
  std::mutex mutex_;
  std::condition_variable room_;
  std::optional<HttpResponseHead> head_;
  std::vector<std::string> blocks_;
  size_t waiting_bytes_ = 0;
  std::optional<bool> finished_;
  bool finish_taken_ = false;
  bool abandoned_ = false;
};

}  // namespace kvb
