#include "tools/kvbuninst/running_copy_win.h"

#include <windows.h>

#include "base/text.h"
#include "base/unique_handle_win.h"
#include "tools/kvbuninst/uninstaller.h"
#include "vars/system_registration_win.h"

namespace kvb {
namespace {

// Names tried for the copy: "<program>-1.exe" ... beside the original.
constexpr int kMaxCopyNames = 99;
// How long the copy waits for the original to end before it leaves the original alone.
constexpr DWORD kOriginalEndTimeoutMs = 30000;

HANDLE Inheritable(HANDLE handle) {
  SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  return handle;
}

// Writes the copy and opens it for the copy's lifetime: delete-on-close, readable by the
// loader, and neither writable nor removable by anyone else meanwhile.
UniqueHandle MakeCopy(const std::string& original, std::string& copy) {
  const std::string base = original.substr(0, original.size() - ExtractFileExt(original).size());
  for (int n = 1; n <= kMaxCopyNames; ++n) {
    copy = base + "-" + std::to_string(n) + ".exe";
    if (!CopyFileA(original.c_str(), copy.c_str(), TRUE))
      continue;
    UniqueHandle handle(CreateFileA(copy.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!handle.Valid())
      DeleteFileForce(copy);
    return handle;
  }
  return {};
}

}  // namespace

std::string OwnProgramPath() {
  std::string path(MAX_PATH, '\0');
  while (path.size() <= 32768) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return {};
    if (length < path.size())
      return path.substr(0, length);
    path.resize(path.size() * 2);
  }
  return {};
}

std::optional<int> RunFromCopy(const UninstallerOptions& options, void* lock) {
  const std::string original = OwnProgramPath();
  std::string copy_path;
  UniqueHandle copy = original.empty() ? UniqueHandle() : MakeCopy(original, copy_path);
  if (!copy.Valid())
    return std::nullopt;
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  HANDLE self = nullptr;
  if (!CreatePipe(&read_end, &write_end, nullptr, 0))
    return std::nullopt;
  UniqueHandle reader(read_end);
  UniqueHandle writer(Inheritable(write_end));
  DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE,
                  TRUE, 0);
  UniqueHandle self_handle(self);
  Inheritable(copy.Get());
  Inheritable(lock);

  std::string command =
      CopyCommandLine(copy_path, options, original, reinterpret_cast<uintptr_t>(write_end),
                      reinterpret_cast<uintptr_t>(self));
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(copy_path.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      ExtractFilePath(copy_path).c_str(), &startup, &process)) {
    return std::nullopt;  // closing `copy` deletes the copy
  }
  CloseHandle(process.hThread);
  UniqueHandle child(process.hProcess);
  // Only the copy holds the pipe's writing end now: reading ends when it reports or dies.
  writer.Close();
  copy.Close();
  int32_t code = 0;
  DWORD read = 0;
  if (ReadFile(reader.Get(), &code, sizeof code, &read, nullptr) && read == sizeof code)
    return code;
  WaitForSingleObject(child.Get(), INFINITE);
  DWORD exit_code = kUninstallFailed;
  GetExitCodeProcess(child.Get(), &exit_code);
  return static_cast<int>(exit_code);
}

void ReportToOriginal(const UninstallerOptions& options, int code) {
  if (options.ResultPipe == 0)
    return;
  const auto pipe = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(options.ResultPipe));
  const int32_t value = code;
  DWORD written = 0;
  WriteFile(pipe, &value, sizeof value, &written, nullptr);
  CloseHandle(pipe);
}

void DeleteOriginalWhenEnded(const UninstallerOptions& options) {
  if (options.Original != 0) {
    const auto original = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(options.Original));
    const DWORD waited = WaitForSingleObject(original, kOriginalEndTimeoutMs);
    CloseHandle(original);
    if (waited != WAIT_OBJECT_0)
      return;
  }
  DeleteFileForce(options.CopyOf);
}

}  // namespace kvb
