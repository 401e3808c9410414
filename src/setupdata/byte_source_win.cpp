#include <windows.h>

#include <algorithm>

#include "setupdata/byte_source.h"

namespace kvb {
namespace {

class WinFileSource final : public ByteSource {
 public:
  WinFileSource(HANDLE file, uint64_t size) : file_(file), size_(size) {}
  ~WinFileSource() override { CloseHandle(file_); }
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
    if (offset >= size_) return 0;
    LARGE_INTEGER pos;
    pos.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_, pos, nullptr, FILE_BEGIN)) return 0;
    size_t total = 0;
    auto* out = static_cast<char*>(buffer);
    while (total < count) {
      const DWORD want = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
      DWORD got = 0;
      if (!::ReadFile(file_, out + total, want, &got, nullptr) || got == 0) break;
      total += got;
    }
    return total;
  }

 private:
  HANDLE file_;
  uint64_t size_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileSource(const std::string& path) {
  // Share for reading only: the package must not change while it is read.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) {
    CloseHandle(file);
    return nullptr;
  }
  return std::make_unique<WinFileSource>(file, static_cast<uint64_t>(size.QuadPart));
}

}  // namespace kvb
