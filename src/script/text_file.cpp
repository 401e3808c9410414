#include "script/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace kvb {

std::optional<std::string> ReadFileBytes(PositionedFile& file, int32_t count) {
  const int64_t size = file.Size();
  const int64_t position = file.Position();
  if (size < 0 || position >= size)
    return std::nullopt;
  // Never allocate more than the bytes left.
  const int64_t wanted = std::min<int64_t>(std::max<int32_t>(count, 0), size - position);
  std::string text(static_cast<size_t>(wanted), '\0');
  text.resize(file.Read(text.data(), text.size()));
  return text;
}

std::optional<std::string> ReadFileLine(PositionedFile& file) {
  const int64_t size = file.Size();
  if (size < 0 || file.Position() >= size)
    return std::nullopt;
  std::string line;
  char block[512];
  for (;;) {
    const int64_t start = file.Position();
    const size_t got = file.Read(block, sizeof block);
    if (got == 0)
      return line;
    const char* cr = std::find(block, block + got, '\r');
    line.append(block, static_cast<size_t>(cr - block));
    if (cr == block + got)
      continue;
    int64_t next = start + (cr - block) + 1;
    // Consume an LF directly behind the CR, even when it lies in the next block.
    char after = 0;
    if (cr + 1 < block + got) {
      after = cr[1];
    } else {
      file.SetPosition(next);
      if (file.Read(&after, 1) != 1)
        after = 0;
    }
    if (after == '\n')
      ++next;
    file.SetPosition(next);
    return line;
  }
}

OpenFileResult ScriptTextFile::Open(std::unique_ptr<ScriptFileStream> stream,
                                    std::optional<int32_t> magic) {
  if (!stream)
    return OpenFileResult::kError;
  stream_ = std::move(stream);
  position_ = 0;
  if (!magic)
    return OpenFileResult::kOk;
  unsigned char bytes[4] = {};
  const size_t got = stream_->ReadAt(0, reinterpret_cast<char*>(bytes), 4);
  position_ = static_cast<int64_t>(got);
  const uint32_t value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t{bytes[3]} << 24;
  if (got != 4 || static_cast<int32_t>(value) != *magic)
    return OpenFileResult::kMagicError;
  return OpenFileResult::kOk;
}

bool ScriptTextFile::Append(std::string_view text) {
  if (!stream_)
    return false;
  const bool ok = stream_->Append(text);
  const int64_t size = stream_->Size();
  if (size >= 0)
    position_ = size;
  return ok;
}

void ScriptTextFile::Close() {
  stream_.reset();
  position_ = 0;
}

int64_t ScriptTextFile::Size() {
  return stream_ ? stream_->Size() : -1;
}

size_t ScriptTextFile::Read(char* buffer, size_t count) {
  if (!stream_ || position_ < 0)
    return 0;
  const size_t got = stream_->ReadAt(position_, buffer, count);
  position_ += static_cast<int64_t>(got);
  return got;
}

namespace {

class StdioFileStream : public ScriptFileStream {
 public:
  explicit StdioFileStream(std::FILE* file) : file_(file) {}
  ~StdioFileStream() override { std::fclose(file_); }

  int64_t Size() override {
    if (std::fseek(file_, 0, SEEK_END) != 0)
      return -1;
    return std::ftell(file_);
  }

  size_t ReadAt(int64_t position, char* buffer, size_t count) override {
    if (position < 0 || std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0)
      return 0;
    return std::fread(buffer, 1, count, file_);
  }

  bool Append(std::string_view text) override {
    if (std::fseek(file_, 0, SEEK_END) != 0)
      return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), file_) == text.size();
    return std::fflush(file_) == 0 && ok;
  }

 private:
  std::FILE* file_;
};

}  // namespace

std::unique_ptr<ScriptFileStream> OpenStdioFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (!file && errno == ENOENT)
    file = std::fopen(path.c_str(), "w+b");
  if (!file)
    return nullptr;
  return std::make_unique<StdioFileStream>(file);
}

}  // namespace kvb
