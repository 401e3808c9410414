// Random-access byte sources that the Setup data reader works on: the setup program's
// own file, another file, or bytes in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kvb {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Copies up to `count` bytes from `offset`; returns how many were copied (fewer only
  // at the end of the source or on a read failure).
  virtual size_t ReadAt(uint64_t offset, void* buffer, size_t count) = 0;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
  uint64_t Size() const override { return bytes_.size(); }
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override;
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Opens a file for reading. On Windows the file is opened with deny-write sharing, so
// nobody can change the package while it is being read. Returns nullptr when the file
// cannot be opened.
std::unique_ptr<ByteSource> OpenFileSource(const std::string& path);

}  // namespace kvb
