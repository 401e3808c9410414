#include "vars/system_registration_win.h"

#include <oleauto.h>
#include <shlobj.h>

#include <optional>

#include "base/text.h"
#include "base/wide_text_win.h"
#include "vars/reg_key_win.h"
#include "vars/registration_rules.h"

namespace kvb {
namespace {

constexpr char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr char kFontsKey9x[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
// AddFontResource is asked this often before the font counts as refused.
constexpr int kFontAttempts = 3;
constexpr DWORD kFontRetryPauseMs = 50;

bool IsWindowsNt() {
  return (GetVersion() & 0x80000000u) == 0;
}

std::string FullPath(const std::string& file) {
  char buffer[MAX_PATH * 2];
  const DWORD n = GetFullPathNameA(file.c_str(), sizeof buffer, buffer, nullptr);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : file;
}

// Restores the error mode (and the cursor) however a call ends.
class ErrorModeScope {
 public:
  explicit ErrorModeScope(UINT mode) : old_(SetErrorMode(mode)) {}
  ~ErrorModeScope() { SetErrorMode(old_); }

 private:
  UINT old_;
};

class WaitCursor {
 public:
  WaitCursor() : old_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(old_); }

 private:
  HCURSOR old_;
};

using ServerEntry = HRESULT(STDAPICALLTYPE*)();

// Loads a library the package names by full path (its own dependencies from its folder).
HMODULE LoadPackageLibrary(const std::string& file) {
  return LoadLibraryExA(FullPath(file).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

struct StoredCount {
  DWORD Type = REG_DWORD;
  std::optional<int64_t> Count;  // nullopt: unreadable
};

std::optional<StoredCount> ReadCount(const RegKey& key, const std::string& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::string bytes(size, '\0');
  StoredCount stored{type, std::nullopt};
  if (size <= 64 &&
      RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(bytes.data()), &size) == ERROR_SUCCESS) {
    bytes.resize(size);
    stored.Count = DecodeSharedCount(type, bytes);
  }
  return stored;
}

bool WriteCount(const RegKey& key, const std::string& name, DWORD type, int64_t count) {
  uint32_t stored_type = type;
  const std::string bytes = EncodeSharedCount(stored_type, count);
  return RegSetValueExA(key.Get(), name.c_str(), 0, stored_type,
                        reinterpret_cast<const BYTE*>(bytes.data()),
                        static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

std::string FontsFolder() {
  char buffer[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_FONTS, nullptr, 0, buffer)))
    return buffer;
  return {};
}

}  // namespace

bool RegisterServer(const std::string& file) {
  WaitCursor cursor;
  ErrorModeScope mode(SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadPackageLibrary(file);
  if (!module)
    return false;
  bool ok = false;
  if (auto entry = reinterpret_cast<ServerEntry>(
          reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")))) {
    ok = SUCCEEDED(entry());
  }
  FreeLibrary(module);
  return ok;
}

void UnregisterServer(const std::string& file) {
  ErrorModeScope mode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadPackageLibrary(file);
  if (!module)
    return;
  if (auto entry = reinterpret_cast<ServerEntry>(
          reinterpret_cast<void*>(GetProcAddress(module, "DllUnregisterServer")))) {
    entry();
  }
  FreeLibrary(module);
}

bool RegisterTypeLibrary(const std::string& file) {
  const std::wstring path = AnsiToWide(FullPath(file));
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLib(path.c_str(), &library)))
    return false;
  std::wstring help_folder;
  BSTR help_file = nullptr;
  if (SUCCEEDED(library->GetDocumentation(-1, nullptr, nullptr, nullptr, &help_file)) &&
      help_file) {
    help_folder = help_file;
    help_folder.resize(help_folder.find_last_of(L"\\/:") == std::wstring::npos
                           ? 0
                           : help_folder.find_last_of(L"\\/:") + 1);
    SysFreeString(help_file);
  }
  const HRESULT hr =
      RegisterTypeLib(library, const_cast<wchar_t*>(path.c_str()),
                      help_folder.empty() ? nullptr : const_cast<wchar_t*>(help_folder.c_str()));
  library->Release();
  return SUCCEEDED(hr);
}

bool UnregisterTypeLibrary(const std::string& file) {
  const std::wstring path = AnsiToWide(FullPath(file));
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLib(path.c_str(), &library)))
    return false;
  TLIBATTR* attributes = nullptr;
  HRESULT hr = library->GetLibAttr(&attributes);
  if (SUCCEEDED(hr)) {
    hr = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                           attributes->lcid, attributes->syskind);
    library->ReleaseTLibAttr(attributes);
  }
  library->Release();
  return SUCCEEDED(hr);
}

bool AddSharedDllReference(const std::string& path) {
  RegKey key;
  if (key.Create(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_QUERY_VALUE | KEY_SET_VALUE) !=
      ERROR_SUCCESS) {
    return false;
  }
  StoredCount stored{REG_DWORD, 0};
  if (const std::optional<StoredCount> found = ReadCount(key, path))
    stored = *found;
  const int64_t count = std::max<int64_t>(stored.Count.value_or(0), 0);
  WriteCount(key, path, stored.Type, count + 1);
  return true;
}

bool ReleaseSharedDllReference(const std::string& path) {
  RegKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_QUERY_VALUE | KEY_SET_VALUE) !=
      ERROR_SUCCESS) {
    return false;
  }
  const std::optional<StoredCount> stored = ReadCount(key, path);
  if (!stored)
    return false;
  const int64_t count = stored->Count.value_or(2) - 1;
  if (count <= 0)
    RegDeleteValueA(key.Get(), path.c_str());
  else
    WriteCount(key, path, stored->Type, count);
  return true;
}

std::string InstallFont(const std::string& file, const std::string& name) {
  const std::string registered = FontRegisteredName(file, FontsFolder());
  if (IsWindowsNt()) {
    WriteProfileStringA("Fonts", name.c_str(), registered.c_str());
  } else {
    RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kFontsKey9x, KEY_SET_VALUE) == ERROR_SUCCESS) {
      RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(registered.c_str()),
                     static_cast<DWORD>(registered.size() + 1));
    }
  }
  // A font Windows refuses (a damaged file) must not hold the installation up.
  for (int attempt = 0; attempt < kFontAttempts; ++attempt) {
    if (AddFontResourceA(registered.c_str()) > 0)
      break;
    if (attempt + 1 < kFontAttempts)
      Sleep(kFontRetryPauseMs);
  }
  SendNotifyMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
  return registered;
}

void RemoveFont(const std::string& file, const std::string& name) {
  const std::string registered = FontRegisteredName(file, FontsFolder());
  if (IsWindowsNt()) {
    WriteProfileStringA("Fonts", name.c_str(), nullptr);
  } else {
    RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kFontsKey9x, KEY_SET_VALUE) == ERROR_SUCCESS)
      RegDeleteValueA(key.Get(), name.c_str());
  }
  if (RemoveFontResourceA(registered.c_str()))
    SendNotifyMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
}

bool DeleteFileForce(const std::string& file) {
  const DWORD attributes = GetFileAttributesA(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return true;
  if (attributes & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesA(file.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return DeleteFileA(file.c_str()) != 0;
}

bool RestartWindows(ExitWindowsFunction exit_windows) {
  if (IsWindowsNt()) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
      return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    const bool found =
        LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    const bool adjusted = found &&
                          AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                          GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    if (!adjusted)
      return false;
  }
  return exit_windows(EWX_REBOOT, 0) != 0;
}

}  // namespace kvb
