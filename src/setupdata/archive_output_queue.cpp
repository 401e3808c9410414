#include "setupdata/archive_output_queue.h"

#include "setupdata/archive_format.h"

namespace kvb {

namespace {
// One buffer being filled, one being written, one waiting: enough to keep both busy.
constexpr size_t kBufferCount = 3;
}  // namespace

ArchiveOutputQueue::ArchiveOutputQueue() {
  for (size_t i = 0; i < kBufferCount; ++i) {
    buffers_.emplace_back(kPieceSize);
    free_.push_back(i);
  }
}

ArchiveOutputQueue::~ArchiveOutputQueue() {
  {
    std::unique_lock lock(mutex_);
    WaitUntilIdle(lock);
    stop_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable())
    thread_.join();
}

uint8_t* ArchiveOutputQueue::Buffer() {
  std::unique_lock lock(mutex_);
  if (!filling_) {
    changed_.wait(lock, [this] { return !free_.empty(); });
    filling_ = free_.back();
    free_.pop_back();
  }
  return buffers_[*filling_].data();
}

void ArchiveOutputQueue::Submit(ArchiveOutput& output, size_t size) {
  {
    std::lock_guard lock(mutex_);
    if (!thread_.joinable())
      thread_ = std::thread(&ArchiveOutputQueue::Work, this);
    jobs_.push_back({&output, *filling_, size});
    filling_.reset();
  }
  changed_.notify_all();
}

void ArchiveOutputQueue::Flush() {
  std::unique_lock lock(mutex_);
  WaitUntilIdle(lock);
  if (error_.empty())
    return;
  const std::string error = std::move(error_);
  error_.clear();
  throw ArchiveOutputError(error);
}

void ArchiveOutputQueue::Drain() {
  std::unique_lock lock(mutex_);
  WaitUntilIdle(lock);
  error_.clear();
}

void ArchiveOutputQueue::WaitUntilIdle(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void ArchiveOutputQueue::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
    if (jobs_.empty())
      return;
    const Job job = jobs_.front();
    jobs_.pop_front();
    busy_ = true;
    const bool skip = !error_.empty();
    lock.unlock();
    std::string error;
    if (!skip) {
      try {
        job.output->Write(buffers_[job.buffer].data(), job.size);
      } catch (const std::exception& e) {
        error = e.what();
      }
    }
    lock.lock();
    if (!error.empty() && error_.empty())
      error_ = error;
    free_.push_back(job.buffer);
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace kvb
