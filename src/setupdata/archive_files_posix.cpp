#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "setupdata/archive_files.h"

namespace kvb {
namespace {

class PosixOutput final : public ArchiveOutput {
 public:
  PosixOutput(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixOutput() override { ::close(fd_); }

  void Write(const void* data, size_t size) override {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t n = ::write(fd_, p, size);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        throw ArchiveOutputError("cannot write " + path_);
      p += n;
      size -= static_cast<size_t>(n);
    }
  }

  void SetDosDate(uint32_t file_date) override {
    std::tm t{};
    t.tm_year = static_cast<int>(file_date >> 25) + 80;
    t.tm_mon = static_cast<int>((file_date >> 21) & 0x0F) - 1;
    t.tm_mday = static_cast<int>((file_date >> 16) & 0x1F);
    t.tm_hour = static_cast<int>((file_date >> 11) & 0x1F);
    t.tm_min = static_cast<int>((file_date >> 5) & 0x3F);
    t.tm_sec = static_cast<int>(file_date & 0x1F) * 2;
    if (t.tm_mon < 0 || t.tm_mon > 11 || t.tm_mday < 1 || t.tm_hour > 23 || t.tm_min > 59 ||
        t.tm_sec > 59) {
      return;
    }
    t.tm_isdst = -1;
    const std::time_t when = std::mktime(&t);
    if (when == -1)
      return;
    std::error_code ec;
    std::filesystem::last_write_time(
        path_, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(when)), ec);
  }

 private:
  int fd_;
  std::string path_;
};

class PosixFiles final : public ArchiveFiles {
 public:
  bool Exists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
  }

  bool Delete(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

  bool ForceDirectories(const std::string& folder) override {
    if (folder.empty())
      return true;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec);
  }

  std::unique_ptr<ByteSource> OpenVolume(const std::string& path) override {
    return OpenFileSource(path);
  }

  std::unique_ptr<ArchiveOutput> Create(const std::string& path) override {
    return Open(path, O_WRONLY | O_CREAT | O_TRUNC);
  }

  std::unique_ptr<ArchiveOutput> Append(const std::string& path) override {
    return Open(path, O_WRONLY | O_APPEND);
  }

 private:
  static std::unique_ptr<ArchiveOutput> Open(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0)
      return nullptr;
    return std::make_unique<PosixOutput>(fd, path);
  }
};

}  // namespace

std::unique_ptr<ArchiveFiles> MakePlatformArchiveFiles() {
  return std::make_unique<PosixFiles>();
}

void ProcessPendingMessagesThrottled() {}

}  // namespace kvb
