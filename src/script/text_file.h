// The text-file reading rules shared by the desktop and the device file commands, and the
// one open desktop file of FILEOPEN .. FILECLOSE.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "script/script_services.h"

namespace kvb {

// A file read from a current position.
class PositionedFile {
 public:
  virtual ~PositionedFile() = default;
  virtual int64_t Position() = 0;
  virtual void SetPosition(int64_t position) = 0;
  virtual int64_t Size() = 0;  // -1 when unknown
  // Reads up to `count` bytes at the current position and advances; returns the number read.
  virtual size_t Read(char* buffer, size_t count) = 0;
};

// Up to `count` bytes from the current position (none for a count of 0 or less); nullopt
// when the position is at the end of the file.
std::optional<std::string> ReadFileBytes(PositionedFile& file, int32_t count);
// The text up to the next CR (not included); an LF directly behind the CR is consumed, a
// lone LF stays part of the line. nullopt at the end of the file.
std::optional<std::string> ReadFileLine(PositionedFile& file);

enum class OpenFileResult { kOk, kError, kMagicError };

class ScriptTextFile : public PositionedFile {
 public:
  bool IsOpen() const { return stream_ != nullptr; }
  // Takes over an opened stream (null: kError). With a magic number, the first four bytes
  // read as a little-endian 32-bit value must equal it (kMagicError otherwise; the file
  // stays open).
  OpenFileResult Open(std::unique_ptr<ScriptFileStream> stream, std::optional<int32_t> magic);
  // Appends at the end; the position moves to the new end.
  bool Append(std::string_view text);
  void Close();

  int64_t Position() override { return position_; }
  void SetPosition(int64_t position) override { position_ = position; }
  int64_t Size() override;
  size_t Read(char* buffer, size_t count) override;

 private:
  std::unique_ptr<ScriptFileStream> stream_;
  int64_t position_ = 0;
};

// A stream over a real file through the C library (ANSI paths on Windows).
std::unique_ptr<ScriptFileStream> OpenStdioFile(const std::string& path);

}  // namespace kvb
