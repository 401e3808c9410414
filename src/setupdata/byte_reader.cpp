#include "setupdata/byte_reader.h"

#include <algorithm>
#include <cstring>

namespace kvb {

namespace {
constexpr size_t kBufferSize = 64 * 1024;
}

ByteReader::ByteReader(ByteSource& source, uint64_t begin, uint64_t end)
    : source_(source), begin_(begin), end_(std::min(end, source.Size())), pos_(begin) {
  if (begin_ > end_) begin_ = pos_ = end_;
}

void ByteReader::Seek(uint64_t position) {
  if (position < begin_ || position > end_) {
    throw FormatError("offset " + std::to_string(position) + " lies outside the data");
  }
  pos_ = position;
}

void ByteReader::Skip(uint64_t count) {
  if (count > Remaining()) throw FormatError("unexpected end of data");
  pos_ += count;
}

void ByteReader::Fill(size_t count) {
  const bool buffered = pos_ >= buf_start_ && pos_ + count <= buf_start_ + buf_.size();
  if (buffered) return;
  const size_t want = static_cast<size_t>(std::min<uint64_t>(std::max(count, kBufferSize), end_ - pos_));
  buf_.resize(want);
  const size_t got = source_.ReadAt(pos_, buf_.data(), want);
  buf_.resize(got);
  buf_start_ = pos_;
  if (got < count) throw FormatError("cannot read the data");
}

const uint8_t* ByteReader::Take(size_t count) {
  if (count > Remaining()) throw FormatError("unexpected end of data");
  Fill(count);
  const uint8_t* p = buf_.data() + (pos_ - buf_start_);
  pos_ += count;
  return p;
}

uint8_t ByteReader::U8() { return *Take(1); }

uint16_t ByteReader::U16() {
  const uint8_t* p = Take(2);
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ByteReader::U32() {
  const uint8_t* p = Take(4);
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

int32_t ByteReader::I32() { return static_cast<int32_t>(U32()); }

double ByteReader::F64() {
  const uint8_t* p = Take(8);
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void ByteReader::Bytes(void* out, size_t count) {
  if (count > Remaining()) throw FormatError("unexpected end of data");
  // Large reads go straight to the source instead of through the buffer.
  if (count > kBufferSize) {
    if (source_.ReadAt(pos_, out, count) != count) throw FormatError("cannot read the data");
    pos_ += count;
    return;
  }
  std::memcpy(out, Take(count), count);
}

std::string ByteReader::Bytes(size_t count) {
  std::string out(count, '\0');
  if (count) Bytes(out.data(), count);
  return out;
}

std::string ByteReader::ZStr() {
  std::string out;
  while (Remaining() > 0) {
    Fill(1);
    const uint8_t* p = buf_.data() + (pos_ - buf_start_);
    const size_t avail = buf_.size() - (pos_ - buf_start_);
    const void* zero = std::memchr(p, 0, avail);
    if (zero) {
      const size_t n = static_cast<const uint8_t*>(zero) - p;
      out.append(reinterpret_cast<const char*>(p), n);
      pos_ += n + 1;
      return out;
    }
    out.append(reinterpret_cast<const char*>(p), avail);
    pos_ += avail;
  }
  return out;
}

std::string ByteReader::ZStr(size_t limit) {
  std::string text = ZStr();
  if (text.size() > limit) text.resize(limit);
  return text;
}

uint32_t ByteReader::Count(uint32_t count, size_t min_record_size) {
  if (min_record_size && static_cast<uint64_t>(count) * min_record_size > Remaining()) {
    throw FormatError("record count " + std::to_string(count) + " exceeds the data");
  }
  return count;
}

}  // namespace kvb
