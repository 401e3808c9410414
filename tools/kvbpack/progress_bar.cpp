#include "progress_bar.h"

#include <string>

namespace kvb::pack {

ProgressBar::ProgressBar(std::FILE* out) : out_(out), start_(std::chrono::steady_clock::now()) {}

ProgressBar::~ProgressBar() {
  if (shown_ >= 0)
    std::fputc('\n', out_);
}

void ProgressBar::Update(uint64_t done, uint64_t total) {
  const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
  if (percent == shown_)
    return;
  if (shown_ < 0 && std::chrono::steady_clock::now() - start_ < std::chrono::milliseconds(500))
    return;
  shown_ = percent;
  constexpr int kWidth = 40;
  const int filled = percent * kWidth / 100;
  const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '.');
  std::fprintf(out_, "\rcompressing [%s] %3d%%", bar.c_str(), percent);
  std::fflush(out_);
}

}  // namespace kvb::pack
