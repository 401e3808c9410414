// A one-line progress bar on a terminal for builds that take a while.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace kvb::pack {

class ProgressBar {
 public:
  // Draws on `out`; nothing is drawn in the first half second, so quick builds stay quiet.
  explicit ProgressBar(std::FILE* out);
  ~ProgressBar();  // ends the line when a bar was drawn
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Update(uint64_t done, uint64_t total);

 private:
  std::FILE* out_;
  std::chrono::steady_clock::time_point start_;
  int shown_ = -1;  // percentage on screen, -1 before the first draw
};

}  // namespace kvb::pack
