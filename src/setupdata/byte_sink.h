// Destinations for written packages: a byte string or a file. Packages can be hundreds
// of MiB, so the writer streams into a sink rather than building the file in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "setupdata/byte_source.h"

namespace kvb {

// A write into a sink failed (disk full, file not writable).
class SinkError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends `size` bytes; throws SinkError when they cannot all be written.
  virtual void Write(const void* data, size_t size) = 0;
  void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
};

class StringSink final : public ByteSink {
 public:
  void Write(const void* data, size_t size) override;
  using ByteSink::Write;
  const std::string& bytes() const { return bytes_; }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

// Creates or truncates a file. Close() flushes and reports a failed write; the
// destructor closes silently.
class FileSink final : public ByteSink {
 public:
  // Throws SinkError when the file cannot be created.
  explicit FileSink(const std::string& path);
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;
  void Write(const void* data, size_t size) override;
  using ByteSink::Write;
  // Throws SinkError when the buffered data cannot be written.
  void Close();

 private:
  std::string path_;
  std::FILE* file_;
};

// Copies all of `source` into `sink` in bounded pieces. Throws FormatError when the
// source delivers fewer bytes than its size.
void CopySource(ByteSource& source, ByteSink& sink);

// A window [begin, begin + size) onto another source, which must outlive it.
class RangeSource final : public ByteSource {
 public:
  RangeSource(ByteSource& source, uint64_t begin, uint64_t size);
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override;

 private:
  ByteSource& source_;
  uint64_t begin_;
  uint64_t size_;
};

}  // namespace kvb
