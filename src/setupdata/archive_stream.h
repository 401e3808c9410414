// The stream an archive block is read from: a read position in a ByteSource (the setup
// program's own file, a volume file, bytes in memory) that moves forward.
#pragma once

#include <cstddef>
#include <cstdint>

#include "setupdata/byte_reader.h"
#include "setupdata/byte_source.h"

namespace kvb {

class ArchiveStream {
 public:
  // Reads `source` from `position` on. The source must outlive the stream.
  explicit ArchiveStream(ByteSource& source, uint64_t position = 0);
  ArchiveStream(const ArchiveStream&) = delete;
  ArchiveStream& operator=(const ArchiveStream&) = delete;

  uint64_t Position() const { return pos_; }
  uint64_t Remaining() const { return size_ > pos_ ? size_ - pos_ : 0; }

  // Reads exactly `count` bytes; throws FormatError at the end of the data or when the
  // source cannot be read. Small reads are served from a short read-ahead; large ones go
  // straight into `out`.
  void Read(void* out, size_t count);
  int32_t ReadI32();
  uint32_t ReadU32();
  // Moves forward without reading; throws FormatError when that would pass the end.
  void Skip(uint64_t count);

 private:
  // Short, so that skipping a chunk reads hardly more than the next chunk's header.
  static constexpr size_t kReadAhead = 256;

  ByteSource& source_;
  uint64_t size_;
  uint64_t pos_;
  uint8_t buf_[kReadAhead];
  uint64_t buf_start_ = 0;  // buffered bytes: [buf_start_, buf_start_ + buf_len_)
  size_t buf_len_ = 0;
};

}  // namespace kvb
