#include "base/self_copy_win.h"

#include <cstdio>
#include <vector>

#include "base/text.h"

namespace kvb {

namespace {

// Process creation with an attribute list, which the XP-level headers lack.
constexpr DWORD kExtendedStartupInfoPresent = 0x00080000;
constexpr DWORD_PTR kMitigationPolicyAttribute = 0x00020007;
// The loader takes every DLL from the system folder before the program's folder.
constexpr DWORD64 kPreferSystem32Images = DWORD64{1} << 60;

struct StartupInfoEx {
  STARTUPINFOA StartupInfo;
  void* AttributeList;
};

using InitializeListFn = BOOL(WINAPI*)(void*, DWORD, DWORD, SIZE_T*);
using UpdateAttributeFn = BOOL(WINAPI*)(void*, DWORD, DWORD_PTR, void*, SIZE_T, void*, SIZE_T*);
using DeleteListFn = void(WINAPI*)(void*);

std::string OwnProgram() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return {};
    if (length < path.size())
      return path.substr(0, length);
    if (path.size() >= 32768)
      return {};
    path.resize(path.size() * 2);
  }
}

// An attribute list asking for system-folder DLLs first; empty where the system has no
// attribute lists or does not know the mitigation.
class MitigationList {
 public:
  MitigationList() {
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto initialize = reinterpret_cast<InitializeListFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "InitializeProcThreadAttributeList")));
    const auto update = reinterpret_cast<UpdateAttributeFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "UpdateProcThreadAttribute")));
    delete_ = reinterpret_cast<DeleteListFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "DeleteProcThreadAttributeList")));
    if (!initialize || !update || !delete_)
      return;
    SIZE_T size = 0;
    initialize(nullptr, 1, 0, &size);
    buffer_.resize(size);
    if (size == 0 || !initialize(buffer_.data(), 1, 0, &size))
      return;
    initialized_ = true;
    ready_ = update(buffer_.data(), 0, kMitigationPolicyAttribute, &policy_, sizeof policy_,
                    nullptr, nullptr) != FALSE;
  }
  ~MitigationList() {
    if (initialized_)
      delete_(buffer_.data());
  }
  MitigationList(const MitigationList&) = delete;
  MitigationList& operator=(const MitigationList&) = delete;
  void* get() { return ready_ ? buffer_.data() : nullptr; }

 private:
  DWORD64 policy_ = kPreferSystem32Images;
  std::vector<char> buffer_;
  DeleteListFn delete_ = nullptr;
  bool initialized_ = false;
  bool ready_ = false;
};

// Starts `program` from `folder`, with the mitigation when the system takes it.
HANDLE StartProgram(const std::string& program,
                    const std::string& arguments,
                    const std::string& folder) {
  std::string command = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  StartupInfoEx startup = {};
  startup.StartupInfo.cb = sizeof startup.StartupInfo;
  PROCESS_INFORMATION process = {};
  MitigationList mitigation;
  if (mitigation.get()) {
    startup.StartupInfo.cb = sizeof startup;
    startup.AttributeList = mitigation.get();
    if (CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE,
                       kExtendedStartupInfoPresent, nullptr, folder.c_str(), &startup.StartupInfo,
                       &process)) {
      CloseHandle(process.hThread);
      return process.hProcess;
    }
    startup.StartupInfo.cb = sizeof startup.StartupInfo;  // the system refused the mitigation
  }
  if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup.StartupInfo, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

}  // namespace

std::optional<SelfCopy> StartSelfCopy(const std::string& temp_folder,
                                      const std::string& arguments) {
  const std::string self = OwnProgram();
  if (self.empty() || temp_folder.empty())
    return std::nullopt;
  SelfCopy copy;
  for (int number = 1; number <= kMaxSelfCopyFolders && !copy.Folder.Held(); ++number) {
    char name[16];
    std::snprintf(name, sizeof name, "kvbu%03d", number);
    copy.Folder.Create(IncludeTrailingBackslash(temp_folder) + name, IsProcessElevated());
  }
  if (!copy.Folder.Held())
    return std::nullopt;
  copy.Program = copy.Folder.Path() + "\\" + ExtractFileName(self);
  // A copy that cannot be started is removed with its folder.
  if (CopyFileA(self.c_str(), copy.Program.c_str(), TRUE))
    copy.Process = UniqueHandle(StartProgram(copy.Program, arguments, copy.Folder.Path()));
  if (!copy.Process.Valid()) {
    DeleteFileA(copy.Program.c_str());
    copy.Folder.Release();
    RemoveDirectoryA(copy.Folder.Path().c_str());
    return std::nullopt;
  }
  return copy;
}

}  // namespace kvb
