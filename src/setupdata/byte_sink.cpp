#include "setupdata/byte_sink.h"

#include <algorithm>
#include <vector>

#include "setupdata/byte_reader.h"

namespace kvb {

void StringSink::Write(const void* data, size_t size) {
  bytes_.append(static_cast<const char*>(data), size);
}

FileSink::FileSink(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
  if (!file_)
    throw SinkError("cannot create " + path);
}

FileSink::~FileSink() {
  if (file_)
    std::fclose(file_);
}

void FileSink::Write(const void* data, size_t size) {
  if (!file_)
    throw SinkError("cannot write " + path_ + ": the file is closed");
  if (size && std::fwrite(data, 1, size, file_) != size)
    throw SinkError("cannot write " + path_);
}

void FileSink::Close() {
  if (!file_)
    return;
  const bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!ok)
    throw SinkError("cannot write " + path_);
}

void CopySource(ByteSource& source, ByteSink& sink) {
  constexpr size_t kPiece = 1 << 20;
  std::vector<char> buffer(static_cast<size_t>(std::min<uint64_t>(source.Size(), kPiece)));
  for (uint64_t pos = 0; pos < source.Size();) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(source.Size() - pos, kPiece));
    if (source.ReadAt(pos, buffer.data(), want) != want) {
      throw FormatError("cannot read " + std::to_string(want) + " bytes at offset " +
                        std::to_string(pos));
    }
    sink.Write(buffer.data(), want);
    pos += want;
  }
}

RangeSource::RangeSource(ByteSource& source, uint64_t begin, uint64_t size)
    : source_(source), begin_(begin), size_(size) {}

size_t RangeSource::ReadAt(uint64_t offset, void* buffer, size_t count) {
  if (offset >= size_)
    return 0;
  const size_t n = static_cast<size_t>(std::min<uint64_t>(count, size_ - offset));
  return source_.ReadAt(begin_ + offset, buffer, n);
}

}  // namespace kvb
