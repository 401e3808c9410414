// Deterministic file contents for the archive benchmark, generated on demand from their
// position, so that a block of any size is written without holding its data.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "setupdata/byte_source.h"

namespace kvb::bench {

enum class DataKind { kText, kBinary, kCompressed };

inline uint64_t Mix(uint64_t x) {  // splitmix64
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// Contents made of 4 KiB pages, each a function of (seed, page number).
class GeneratedSource final : public ByteSource {
 public:
  static constexpr size_t kPage = 4096;

  GeneratedSource(DataKind kind, uint64_t seed, uint64_t size)
      : kind_(kind), seed_(seed), size_(size) {}
  uint64_t Size() const override { return size_; }

  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
    if (offset >= size_)
      return 0;
    count = static_cast<size_t>(std::min<uint64_t>(count, size_ - offset));
    auto* out = static_cast<uint8_t*>(buffer);
    for (size_t done = 0; done < count;) {
      const uint64_t page = (offset + done) / kPage;
      const size_t in_page = static_cast<size_t>((offset + done) % kPage);
      if (page != cached_page_)
        Fill(page);
      const size_t n = std::min(count - done, kPage - in_page);
      std::memcpy(out + done, page_.data() + in_page, n);
      done += n;
    }
    return count;
  }

 private:
  void Fill(uint64_t page) {
    cached_page_ = page;
    uint64_t state = Mix(seed_ * 1000003 + page);
    auto next = [&state] { return state = Mix(state); };
    if (kind_ == DataKind::kCompressed) {
      for (size_t i = 0; i < kPage; i += 8) {
        const uint64_t v = next();
        std::memcpy(page_.data() + i, &v, 8);
      }
    } else if (kind_ == DataKind::kText) {
      // Words of a 4,096-word vocabulary, frequent ones much more often, with line breaks.
      static const std::vector<std::string> kWords = [] {
        std::vector<std::string> words(4096);
        uint64_t r = 7;
        for (std::string& w : words) {
          r = Mix(r);
          w.resize(2 + r % 9);
          for (char& c : w)
            c = static_cast<char>('a' + (r = Mix(r)) % 26);
          w += (r >> 8) % 12 == 0 ? ".\r\n" : " ";
        }
        return words;
      }();
      for (size_t i = 0; i < kPage;) {
        const uint64_t r = next();
        const std::string& w = kWords[((r & 0xFFF) * ((r >> 12) & 0xFFF)) >> 12];
        const size_t n = std::min(w.size(), kPage - i);
        std::memcpy(page_.data() + i, w.data(), n);
        i += n;
      }
    } else {
      // Machine-code-like: recurring instruction sequences, immediates, zero padding.
      static const std::vector<std::string> kOps = [] {
        std::vector<std::string> ops(512);
        uint64_t r = 42;
        for (std::string& op : ops) {
          r = Mix(r);
          op.resize(2 + r % 11);
          for (char& c : op)
            c = static_cast<char>(r = Mix(r));
        }
        return ops;
      }();
      for (size_t i = 0; i < kPage;) {
        const uint64_t r = next();
        std::string piece;
        if (r % 10 < 8) {
          piece = kOps[(((r >> 8) & 0x1FF) * ((r >> 17) & 0x1FF)) >> 9];
        } else if (r % 10 < 9) {
          piece.assign(reinterpret_cast<const char*>(&r) + 4, 4);
        } else {
          piece.assign(1 + (r >> 8) % 16, '\0');
        }
        const size_t n = std::min(piece.size(), kPage - i);
        std::memcpy(page_.data() + i, piece.data(), n);
        i += n;
      }
    }
  }

  DataKind kind_;
  uint64_t seed_;
  uint64_t size_;
  std::array<uint8_t, kPage> page_{};
  uint64_t cached_page_ = UINT64_MAX;
};

struct FilePlan {
  DataKind kind;
  uint64_t seed;
  uint64_t size;
};

// Files of 1 KiB to 8 MiB, a third of the bytes of each kind, adding up to `total`.
inline std::vector<FilePlan> PlanFiles(uint64_t total) {
  std::vector<FilePlan> files;
  uint64_t planned = 0;
  for (uint64_t i = 0; planned < total; ++i) {
    const uint64_t r = Mix(i);
    const uint64_t size = std::min<uint64_t>(
        total - planned, (r % 4 == 0) ? 1024 + r % 65536 : 1 + (r >> 8) % (8u << 20));
    files.push_back({static_cast<DataKind>(i % 3), i + 1, size});
    planned += size;
  }
  return files;
}

}  // namespace kvb::bench
