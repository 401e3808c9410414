#include <cstdio>

#include "setupdata/byte_source.h"

namespace kvb {
namespace {

class PosixFileSource final : public ByteSource {
 public:
  PosixFileSource(std::FILE* file, uint64_t size) : file_(file), size_(size) {}
  ~PosixFileSource() override { std::fclose(file_); }
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
    if (offset >= size_) return 0;
    if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
    return std::fread(buffer, 1, count, file_);
  }

 private:
  std::FILE* file_;
  uint64_t size_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileSource(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return nullptr;
  if (fseeko(file, 0, SEEK_END) != 0) {
    std::fclose(file);
    return nullptr;
  }
  const off_t size = ftello(file);
  if (size < 0) {
    std::fclose(file);
    return nullptr;
  }
  return std::make_unique<PosixFileSource>(file, static_cast<uint64_t>(size));
}

}  // namespace kvb
