// What the machine says about the .NET Framework and ActiveSync. The keys are opened for
// reading only, so that a user who may not write there still finds what is installed.
#include <windows.h>

#include "base/file_attributes_win.h"
#include "base/text.h"
#include "vars/file_version.h"
#include "vars/reg_key_win.h"
#include "vars/windows_machine_win.h"

namespace kvb {

namespace {

constexpr char kAppManagerKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE";

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (Valid())
      FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

std::optional<std::string> DotNetInstallRoot() {
  RegKey key;
  std::string root;
  if (key.Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\.NETFramework", KEY_READ) !=
          ERROR_SUCCESS ||
      key.ReadString("InstallRoot", root) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return root;
}

}  // namespace

bool WindowsMachine::IsDotNetInstalled() {
  const std::optional<std::string> root = DotNetInstallRoot();
  return root && IsFolder(ExcludeTrailingBackslash(*root));
}

std::string WindowsMachine::GetDotNetFolder() {
  const std::optional<std::string> root = DotNetInstallRoot();
  if (!root)
    return {};
  // With several framework versions the first folder in enumeration order wins.
  const std::string base = IncludeTrailingBackslash(*root);
  WIN32_FIND_DATAA entry{};
  FindHandle find(FindFirstFileA((base + "*").c_str(), &entry));
  if (!find.Valid())
    return {};
  do {
    if (entry.cFileName[0] == '.' || !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      continue;
    }
    const std::string folder = base + entry.cFileName + "\\";
    if (IsFile(folder + "mscorcfg.dll"))
      return folder;
  } while (FindNextFileA(find.Get(), &entry));
  return {};
}

std::string WindowsMachine::GetDotNetVersion() {
  const std::string folder = GetDotNetFolder();
  if (folder.empty())
    return "0.0";
  FixedFileVersion version;
  GetFileVersion(folder + "mscorcfg.dll", version);  // zeros without a version resource
  return FormatFileVersion(version);
}

std::string WindowsMachine::GetActiveSyncVersion() {
  RegKey key;
  DWORD major = 0;
  DWORD minor = 0;
  if (key.Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows CE Services", KEY_READ) !=
          ERROR_SUCCESS ||
      key.ReadDword("MajorVersion", major) != ERROR_SUCCESS ||
      key.ReadDword("MinorVersion", minor) != ERROR_SUCCESS) {
    return "0.0";
  }
  return std::to_string(static_cast<int32_t>(major)) + "." +
         std::to_string(static_cast<int32_t>(minor));
}

std::string WindowsMachine::ComputeActiveSyncFolder() {
  RegKey key;
  std::string program;
  if (key.Open(HKEY_LOCAL_MACHINE, kAppManagerKey, KEY_QUERY_VALUE) == ERROR_SUCCESS) {
    key.ReadString("", program);
  }
  const std::string folder = ExtractFilePath(program);
  if (!folder.empty())
    return folder;
  return IncludeTrailingBackslash(GetProgramFilesFolder()) + "Microsoft ActiveSync\\";
}

bool IsActiveSyncPresent() {
  RegKey key;
  std::string program;
  return key.Open(HKEY_LOCAL_MACHINE, kAppManagerKey, KEY_READ) == ERROR_SUCCESS &&
         key.ReadString("", program) == ERROR_SUCCESS;
}

}  // namespace kvb
