// Writes the reader's chunks to their files on a second thread, so that writing one
// chunk overlaps with reading and inflating the next. A few 64 KiB buffers circulate:
// the reader fills a free one and submits it; the thread writes it and frees it again.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "setupdata/archive_files.h"

namespace kvb {

class ArchiveOutputQueue {
 public:
  ArchiveOutputQueue();
  ~ArchiveOutputQueue();  // finishes the queued writes
  ArchiveOutputQueue(const ArchiveOutputQueue&) = delete;
  ArchiveOutputQueue& operator=(const ArchiveOutputQueue&) = delete;

  // A free buffer of kPieceSize bytes, waiting for one if all are queued. Until it is
  // submitted, further calls return the same buffer.
  uint8_t* Buffer();
  // Queues the first `size` bytes of the buffer returned by Buffer for `output`, which
  // must stay open until Flush or Drain has returned.
  void Submit(ArchiveOutput& output, size_t size);
  // Waits until everything queued is written; throws ArchiveOutputError when a write
  // failed since the last Flush (writes queued after a failure are dropped).
  void Flush();
  // Waits like Flush and forgets a failure.
  void Drain();

 private:
  struct Job {
    ArchiveOutput* output;
    size_t buffer;
    size_t size;
  };

  void Work();
  void WaitUntilIdle(std::unique_lock<std::mutex>& lock);

  std::vector<std::vector<uint8_t>> buffers_;
  std::vector<size_t> free_;       // indexes of free buffers
  std::optional<size_t> filling_;  // the buffer handed out by Buffer
  std::deque<Job> jobs_;
  bool busy_ = false;  // the thread is writing a job
  bool stop_ = false;
  std::string error_;  // first failure since the last Flush
  std::mutex mutex_;
  std::condition_variable changed_;
  std::thread thread_;
};

}  // namespace kvb
