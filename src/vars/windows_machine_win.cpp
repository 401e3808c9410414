#include "vars/windows_machine_win.h"

#include <windows.h>

#include "base/text.h"
#include "vars/command_line.h"
#include "vars/reg_key_win.h"

namespace kvb {

namespace {

constexpr char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A string value under HKEY_LOCAL_MACHINE, else under HKEY_CURRENT_USER; "" when
// neither holds a non-empty string.
std::string ReadMachineThenUser(const char* key, const char* value) {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    RegKey reg;
    std::string text;
    if (reg.Open(root, key, KEY_QUERY_VALUE) == ERROR_SUCCESS &&
        reg.ReadString(value, text) == ERROR_SUCCESS && !text.empty()) {
      return text;
    }
  }
  return {};
}

template <typename GetFolder>
std::string SystemFolder(GetFolder get) {
  char buffer[MAX_PATH + 1] = {};
  const UINT length = get(buffer, MAX_PATH);
  return length > 0 && length <= MAX_PATH ? std::string(buffer, length) : std::string();
}

}  // namespace

bool ComputeIsAdmin() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExA(&info) || info.dwPlatformId != VER_PLATFORM_WIN32_NT)
    return true;
  SC_HANDLE manager =
      OpenSCManagerA(nullptr, nullptr, GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE);
  if (!manager)
    return false;
  CloseServiceHandle(manager);
  return true;
}

WindowsMachine::WindowsMachine(WindowsMachineOptions options)
    : is_admin_(options.IsAdmin ? *options.IsAdmin : ComputeIsAdmin()),
      command_line_(std::move(options.CommandLine)) {}

std::string WindowsMachine::CachedFolder(FolderSlot slot) {
  std::optional<std::string>& cached = folders_[slot];
  if (!cached)
    cached = ComputeFolder(slot);
  return *cached;
}

std::string WindowsMachine::ComputeFolder(FolderSlot slot) {
  switch (slot) {
    case kTemp:
      return SystemFolder([](char* b, UINT n) { return GetTempPathA(n, b); });
    case kWindows:
      return SystemFolder(GetWindowsDirectoryA);
    case kSystem:
      return SystemFolder(GetSystemDirectoryA);
    case kProgramFiles:
      return ReadMachineThenUser(kCurrentVersionKey, "ProgramFilesDir");
    case kCommonFiles:
      return ReadMachineThenUser(kCurrentVersionKey, "CommonFilesDir");
    case kFonts:
      return ReadMachineThenUser(kShellFoldersKey, "Fonts");
    case kDocuments:
      return ReadMachineThenUser(kShellFoldersKey, "Personal");
    case kActiveSync:
      return ComputeActiveSyncFolder();
    case kFolderSlotCount:
      break;
  }
  return {};
}

std::string WindowsMachine::GetTempFolder() {
  return CachedFolder(kTemp);
}
std::string WindowsMachine::GetWindowsFolder() {
  return CachedFolder(kWindows);
}
std::string WindowsMachine::GetSystemFolder() {
  return CachedFolder(kSystem);
}
std::string WindowsMachine::GetProgramFilesFolder() {
  return CachedFolder(kProgramFiles);
}
std::string WindowsMachine::GetCommonFilesFolder() {
  return CachedFolder(kCommonFiles);
}
std::string WindowsMachine::GetFontsFolder() {
  return CachedFolder(kFonts);
}
std::string WindowsMachine::GetDocumentsFolder() {
  return CachedFolder(kDocuments);
}
std::string WindowsMachine::GetActiveSyncFolder() {
  return CachedFolder(kActiveSync);
}

std::string WindowsMachine::GetProgramPath() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, length <= MAX_PATH ? length : 0);
}

std::string WindowsMachine::GetSourceFolder() {
  return ExtractFilePath(GetProgramPath());
}

void WindowsMachine::LoadOSVersion() {
  OSVERSIONINFOEXA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  bool extended = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)) != 0;
  bool known = extended;
  if (!extended) {
    // Systems before NT 4 SP6 know only the short record.
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    known = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)) != 0;
  }
  if (!known) {
    os_version_.fill(0);
    is_nt_ = false;
    return;
  }
  const bool nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  uint32_t service_pack = 0;
  if (nt && info.dwMajorVersion >= 5 && extended) {
    service_pack = (uint32_t{info.wServicePackMajor} << 8) + info.wServicePackMinor;
  } else if (nt && info.dwMajorVersion == 4) {
    RegKey key;
    DWORD value = 0;
    if (key.Open(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Windows",
                 KEY_QUERY_VALUE) == ERROR_SUCCESS &&
        key.ReadDword("CSDVersion", value) == ERROR_SUCCESS) {
      service_pack = value;
    }
  }
  os_version_[0] = (info.dwMajorVersion << 24) | ((info.dwMinorVersion & 0xFF) << 16) |
                   (info.dwBuildNumber & 0xFFFF);
  os_version_[1] = info.dwMajorVersion;
  os_version_[2] = info.dwMinorVersion;
  os_version_[3] = info.dwBuildNumber;
  os_version_[4] = service_pack;
  is_nt_ = nt;
}

uint32_t WindowsMachine::GetOSVersionPart(OSVersionPart part) {
  const size_t index = static_cast<size_t>(part);
  if (index >= os_version_.size())
    return 0;
  if (!os_version_[index])
    LoadOSVersion();
  return *os_version_[index];
}

bool WindowsMachine::IsNT() {
  if (!is_nt_)
    LoadOSVersion();
  return *is_nt_;
}

int WindowsMachine::GetColorDepth() {
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc)
    return 0;
  const int bits = GetDeviceCaps(dc, BITSPIXEL);
  DeleteDC(dc);
  return bits;
}

int WindowsMachine::GetScreenWidth() {
  return GetSystemMetrics(SM_CXSCREEN);
}

int WindowsMachine::GetScreenHeight() {
  return GetSystemMetrics(SM_CYSCREEN);
}

uint64_t WindowsMachine::GetRamMegabytes() {
  // GlobalMemoryStatusEx: GlobalMemoryStatus caps the total at 2 GB for programs that
  // are not large-address aware and cannot count beyond 4 GB.
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (!GlobalMemoryStatusEx(&status))
    return 0;
  return status.ullTotalPhys / 1000000;
}

std::string WindowsMachine::Folder(MachineFolder folder) {
  switch (folder) {
    case MachineFolder::kWindows:
      return GetWindowsFolder();
    case MachineFolder::kSystem:
      return GetSystemFolder();
    case MachineFolder::kProgramFiles:
      return GetProgramFilesFolder();
    case MachineFolder::kCommonFiles:
      return GetCommonFilesFolder();
    case MachineFolder::kFonts:
      return GetFontsFolder();
    case MachineFolder::kDocuments:
      return GetDocumentsFolder();
    case MachineFolder::kActiveSync:
      return GetActiveSyncFolder();
    case MachineFolder::kSource:
      return GetSourceFolder();
    case MachineFolder::kDotNet:
      return GetDotNetFolder();
  }
  return {};
}

std::string WindowsMachine::ShellFolder(bool all_users, ShellFolderKind kind) {
  return GetShellFolder(all_users, kind);
}

std::string WindowsMachine::Fact(MachineFact fact) {
  auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
  switch (fact) {
    case MachineFact::kIsAdmin:
      return flag(IsAdmin());
    case MachineFact::kIsNT:
      return flag(IsNT());
    case MachineFact::kOSVersion:
      return std::to_string(GetOSVersionPart(OSVersionPart::kMajor)) + "." +
             std::to_string(GetOSVersionPart(OSVersionPart::kMinor)) + "." +
             std::to_string(GetOSVersionPart(OSVersionPart::kBuild));
    case MachineFact::kOSMajorVersion:
      return std::to_string(GetOSVersionPart(OSVersionPart::kMajor));
    case MachineFact::kOSMinorVersion:
      return std::to_string(GetOSVersionPart(OSVersionPart::kMinor));
    case MachineFact::kColorDepth:
      return std::to_string(GetColorDepth());
    case MachineFact::kScreenHeight:
      return std::to_string(GetScreenHeight());
    case MachineFact::kScreenWidth:
      return std::to_string(GetScreenWidth());
    case MachineFact::kRAMMemory:
      return std::to_string(GetRamMegabytes());
    case MachineFact::kIsDotNetInstalled:
      return flag(IsDotNetInstalled());
    case MachineFact::kDotNetVersion:
      return GetDotNetVersion();
    case MachineFact::kActiveSyncVersion:
      return GetActiveSyncVersion();
  }
  return {};
}

LocalClock WindowsMachine::Now() {
  SYSTEMTIME time{};
  GetLocalTime(&time);
  LocalClock clock{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, "/"};
  char separator[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, separator, sizeof(separator)) > 1) {
    clock.DateSeparator = separator;
  }
  return clock;
}

std::string WindowsMachine::CommandLineArgument(int index) {
  const std::string line = command_line_ ? *command_line_ : std::string(GetCommandLineA());
  return CommandLineParameter(line, GetProgramPath(), index);
}

}  // namespace kvb
