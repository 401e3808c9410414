#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "base/file_attributes_win.h"
#include "base/text.h"
#include "devices/run_process_win.h"
#include "install/shell_link_win.h"
#include "script/script_services_win.h"
#include "script/text_file.h"
#include "vars/file_version.h"

namespace kvb {
namespace {

const char* OrNull(const std::string& text) {
  return text.empty() ? nullptr : text.c_str();
}

class Win32System : public ScriptSystem {
 public:
  explicit Win32System(ApplicationWindowFn application_window)
      : application_window_(std::move(application_window)) {}

  void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }

  void OpenDocument(const std::string& file) override {
    const std::string folder = ExtractFilePath(file);
    ShellExecuteA(application_window_ ? application_window_() : nullptr, nullptr, file.c_str(),
                  nullptr, OrNull(folder), SW_SHOW);
  }

  void RunProgram(const std::string& program, const std::string& arguments, bool wait) override {
    RunProcess(program, arguments, "", wait, wait);
  }

  std::unique_ptr<ScriptFileStream> OpenFileForUpdate(const std::string& path) override {
    return OpenStdioFile(path);
  }

  bool RemoveFile(const std::string& path) override { return DeleteFileA(path.c_str()); }

  bool CopyFileOver(const std::string& source, const std::string& destination) override {
    return CopyFileA(source.c_str(), destination.c_str(), FALSE);
  }

  bool FileExists(const std::string& path) override { return IsFile(path); }

  std::optional<uint64_t> FileSize(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return std::nullopt;
    }
    return uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
  }

  std::optional<std::array<uint16_t, 4>> FileVersion(const std::string& path) override {
    FixedFileVersion info;
    if (!GetFileVersion(path, info))
      return std::nullopt;
    return std::array<uint16_t, 4>{HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS),
                                   HIWORD(info.dwFileVersionLS), LOWORD(info.dwFileVersionLS)};
  }

  bool FindFirst(const std::string& pattern) override {
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
      return false;
    FindClose(find);
    return true;
  }

  bool MakeFolder(const std::string& path) override {
    return CreateDirectoryA(path.c_str(), nullptr);
  }

  bool RemoveFolder(const std::string& path) override { return RemoveDirectoryA(path.c_str()); }

  bool CreateShortcut(const std::string& link_path,
                      const std::string& target,
                      const std::string& arguments,
                      const std::string& working_folder) override {
    return kvb::CreateShortcut(link_path, "", target, arguments, working_folder, "", 0, SW_SHOW);
  }

  bool WindowExists(const std::string& window_class, const std::string& title) override {
    return FindWindowA(OrNull(window_class), OrNull(title)) != nullptr;
  }

  void CloseWindow(const std::string& window_class, const std::string& title, bool quit) override {
    if (HWND window = FindWindowA(OrNull(window_class), OrNull(title))) {
      PostMessageA(window, quit ? WM_QUIT : WM_CLOSE, 0, 0);
    }
  }

 private:
  ApplicationWindowFn application_window_;
};

}  // namespace

std::unique_ptr<ScriptSystem> CreateWin32System(ApplicationWindowFn application_window) {
  return std::make_unique<Win32System>(std::move(application_window));
}

}  // namespace kvb
