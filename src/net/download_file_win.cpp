#include "net/download_file_win.h"

#include <windows.h>

#include "base/unique_handle_win.h"

namespace kvb {

namespace {

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
  if (length == 0 || length >= MAX_PATH)
    return {};
  return std::string(buffer, length);
}

class WinDownloadFile : public DownloadFile {
 public:
  WinDownloadFile(std::string target, std::string temporary, UniqueHandle file)
      : target_(std::move(target)), temporary_(std::move(temporary)), file_(std::move(file)) {}
  ~WinDownloadFile() override {
    if (committed_)
      return;
    file_.Close();
    DeleteFileA(temporary_.c_str());
  }

  bool Write(std::string_view data) override {
    while (!data.empty()) {
      DWORD written = 0;
      if (!WriteFile(file_.Get(), data.data(), static_cast<DWORD>(data.size()), &written,
                     nullptr) ||
          written == 0) {
        return false;
      }
      data.remove_prefix(written);
    }
    return true;
  }

  bool Commit() override {
    if (!file_.Close())
      return false;
    if (!MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING))
      return false;
    committed_ = true;
    return true;
  }

 private:
  std::string target_;
  std::string temporary_;
  UniqueHandle file_;
  bool committed_ = false;
};

}  // namespace

std::unique_ptr<DownloadFile> CreateWinDownloadFile(const std::string& target) {
  const std::string full = FullPath(target);
  const size_t slash = full.find_last_of("\\/");
  if (full.empty() || slash == std::string::npos || slash + 1 == full.size())
    return nullptr;
  // In the target's own folder, so that the final move is a rename on the same drive.
  const std::string folder = full.substr(0, slash + 1);
  char temporary[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), "kvb", 0, temporary))
    return nullptr;
  UniqueHandle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    DeleteFileA(temporary);
    return nullptr;
  }
  return std::make_unique<WinDownloadFile>(full, temporary, std::move(file));
}

}  // namespace kvb
