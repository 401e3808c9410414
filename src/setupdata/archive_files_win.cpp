#include <windows.h>

#include <algorithm>

#include "base/file_attributes_win.h"
#include "base/message_pump.h"
#include "base/text.h"
#include "setupdata/archive_files.h"

namespace kvb {
namespace {

class WinOutput final : public ArchiveOutput {
 public:
  WinOutput(HANDLE file, std::string path) : file_(file), path_(std::move(path)) {}
  ~WinOutput() override { CloseHandle(file_); }

  void Write(const void* data, size_t size) override {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
      const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
      DWORD done = 0;
      if (!WriteFile(file_, p, want, &done, nullptr) || done == 0) {
        throw ArchiveOutputError("cannot write " + path_);
      }
      p += done;
      size -= done;
    }
  }

  // The date is local time, as the file managers show it; the file system keeps UTC.
  void SetDosDate(uint32_t file_date) override {
    FILETIME local, utc;
    if (!DosDateTimeToFileTime(HIWORD(file_date), LOWORD(file_date), &local))
      return;
    if (!LocalFileTimeToFileTime(&local, &utc))
      return;
    SetFileTime(file_, nullptr, nullptr, &utc);
  }

 private:
  HANDLE file_;
  std::string path_;
};

class WinFiles final : public ArchiveFiles {
 public:
  bool Exists(const std::string& path) override {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  bool Delete(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

  // Creates the parents first; a parent that cannot be created (a drive root, a
  // network share) is no failure as long as the folder itself exists in the end.
  bool ForceDirectories(const std::string& folder) override {
    std::string dir = folder;
    while (!dir.empty() && (dir.back() == '\\' || dir.back() == '/'))
      dir.pop_back();
    if (dir.empty() || IsFolder(dir))
      return true;
    const std::string parent = ExtractFilePath(dir);
    if (!parent.empty() && parent.size() < dir.size())
      ForceDirectories(parent);
    CreateDirectoryA(dir.c_str(), nullptr);
    return IsFolder(dir);
  }

  std::unique_ptr<ByteSource> OpenVolume(const std::string& path) override {
    return OpenFileSource(path);  // shares for reading only
  }

  std::unique_ptr<ArchiveOutput> Create(const std::string& path) override {
    return Open(path, CREATE_ALWAYS);
  }

  std::unique_ptr<ArchiveOutput> Append(const std::string& path) override {
    return Open(path, OPEN_EXISTING);
  }

 private:
  static std::unique_ptr<ArchiveOutput> Open(const std::string& path, DWORD disposition) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
      return nullptr;
    if (disposition == OPEN_EXISTING) {
      LARGE_INTEGER zero{};
      if (!SetFilePointerEx(file, zero, nullptr, FILE_END)) {
        CloseHandle(file);
        return nullptr;
      }
    }
    return std::make_unique<WinOutput>(file, path);
  }
};

}  // namespace

std::unique_ptr<ArchiveFiles> MakePlatformArchiveFiles() {
  return std::make_unique<WinFiles>();
}

void ProcessPendingMessagesThrottled() {
  static thread_local DWORD last = 0;
  const DWORD now = GetTickCount();
  if (now - last < kMessagePumpIntervalMs)
    return;
  last = now;
  ProcessPendingMessages();
}

}  // namespace kvb
