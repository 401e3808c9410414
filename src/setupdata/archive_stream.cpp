#include "setupdata/archive_stream.h"

#include <algorithm>
#include <cstring>

namespace kvb {

ArchiveStream::ArchiveStream(ByteSource& source, uint64_t position)
    : source_(source), size_(source.Size()), pos_(position) {}

void ArchiveStream::Read(void* out, size_t count) {
  if (count > Remaining())
    throw FormatError("unexpected end of the archive");
  auto* dst = static_cast<uint8_t*>(out);
  // Whatever the read-ahead already holds.
  if (pos_ >= buf_start_ && pos_ < buf_start_ + buf_len_) {
    const size_t n = std::min<uint64_t>(count, buf_start_ + buf_len_ - pos_);
    std::memcpy(dst, buf_ + (pos_ - buf_start_), n);
    dst += n;
    pos_ += n;
    count -= n;
  }
  if (count == 0)
    return;
  if (count >= kReadAhead) {
    if (source_.ReadAt(pos_, dst, count) != count)
      throw FormatError("cannot read the archive");
    pos_ += count;
    return;
  }
  buf_start_ = pos_;
  buf_len_ =
      source_.ReadAt(pos_, buf_, static_cast<size_t>(std::min<uint64_t>(kReadAhead, Remaining())));
  if (buf_len_ < count)
    throw FormatError("cannot read the archive");
  std::memcpy(dst, buf_, count);
  pos_ += count;
}

int32_t ArchiveStream::ReadI32() {
  return static_cast<int32_t>(ReadU32());
}

uint32_t ArchiveStream::ReadU32() {
  uint8_t b[4];
  Read(b, 4);
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
         (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

void ArchiveStream::Skip(uint64_t count) {
  if (count > Remaining())
    throw FormatError("unexpected end of the archive");
  pos_ += count;
}

}  // namespace kvb
