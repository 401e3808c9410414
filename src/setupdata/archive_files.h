// What the archive reader needs from the platform: files and folders, and the pump of
// pending window messages. The host build implements them with POSIX calls, the
// Windows build with Win32 (deny-write sharing for volumes, file times from DOS dates).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "setupdata/byte_source.h"

namespace kvb {

class ArchiveOutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file being written by the reader; closed when destroyed.
class ArchiveOutput {
 public:
  virtual ~ArchiveOutput() = default;
  // Appends the bytes; throws ArchiveOutputError when they cannot all be written.
  virtual void Write(const void* data, size_t size) = 0;
  // Sets the last-write time from a DOS date (high 16 bits) and time (low 16 bits) in
  // local time. A value that is no valid date is ignored.
  virtual void SetDosDate(uint32_t file_date) = 0;
};

class ArchiveFiles {
 public:
  virtual ~ArchiveFiles() = default;
  // True when a file or folder of that name exists.
  virtual bool Exists(const std::string& path) = 0;
  // Deletes a file; false when it cannot (read-only, in use, a folder).
  virtual bool Delete(const std::string& path) = 0;
  // Creates `folder` with all missing parents; true when the folder exists afterwards.
  // The empty text means the current folder.
  virtual bool ForceDirectories(const std::string& folder) = 0;
  // Opens a volume file for reading, denying others write access; nullptr on failure.
  virtual std::unique_ptr<ByteSource> OpenVolume(const std::string& path) = 0;
  // Creates an empty file for exclusive writing; nullptr on failure.
  virtual std::unique_ptr<ArchiveOutput> Create(const std::string& path) = 0;
  // Opens an existing file for exclusive writing at its end; nullptr on failure.
  virtual std::unique_ptr<ArchiveOutput> Append(const std::string& path) = 0;
};

// The real files of this platform.
std::unique_ptr<ArchiveFiles> MakePlatformArchiveFiles();

// ProcessPendingMessages (base/message_pump.h), unless it ran less than kMessagePumpIntervalMs ago on this
// thread: the reader's pump between chunks. A chunk takes well under a millisecond,
// while a peek at the message queue may take milliseconds under Wine on a busy machine;
// 50 rounds a second keep the windows as responsive as one round per chunk.
inline constexpr unsigned kMessagePumpIntervalMs = 20;
void ProcessPendingMessagesThrottled();

}  // namespace kvb
