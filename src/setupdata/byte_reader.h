// Bounded, buffered little-endian reader over a ByteSource. Every read is checked
// against the end of the source (or of the window given at construction); a short read
// throws FormatError, so a damaged package can never make the reader run past its data.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "setupdata/byte_source.h"

namespace kvb {

class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ByteReader {
 public:
  // Reads from `source` within [begin, end); end defaults to the source's size.
  explicit ByteReader(ByteSource& source, uint64_t begin = 0, uint64_t end = UINT64_MAX);

  uint64_t Position() const { return pos_; }
  uint64_t End() const { return end_; }
  uint64_t Remaining() const { return end_ > pos_ ? end_ - pos_ : 0; }
  void Seek(uint64_t position);  // throws FormatError when outside the window
  void Skip(uint64_t count);     // throws FormatError when it would pass the end

  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  int32_t I32();
  double F64();
  void Bytes(void* out, size_t count);
  std::string Bytes(size_t count);
  // Zero-terminated text. A text that runs into the end of the data ends there: the
  // bytes read so far form the text (no error).
  std::string ZStr();
  // ZStr cut to its first `limit` characters (the fixed-size text fields).
  std::string ZStr(size_t limit);

  // Checks a stored record count against the bytes left: every record needs at least
  // `min_record_size` bytes, so a larger count means damaged data. Returns the count.
  uint32_t Count(uint32_t count, size_t min_record_size);

 private:
  const uint8_t* Take(size_t count);
  void Fill(size_t count);

  ByteSource& source_;
  uint64_t begin_;
  uint64_t end_;
  uint64_t pos_;
  // Buffered bytes [buf_start_, buf_start_ + buf_.size()).
  std::vector<uint8_t> buf_;
  uint64_t buf_start_ = 0;
};

}  // namespace kvb
