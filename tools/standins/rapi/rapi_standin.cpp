// A stand-in for ActiveSync's "rapi.dll", used by the tests and the device demo: the
// same exported functions, backed by a folder that plays the device (standin_device.h).
// It behaves as the device agent would once "\kVB.exe" is started: after checking that
// the image is a CE executable for the device's processor, it writes the agent's answer
// into the device registry.
#include <windows.h>

#include <mutex>
#include <set>

#include "ce_image.h"
#include "devices/rapi_types_win.h"
#include "standin_device.h"

using namespace kvb;
using namespace kvb::standin;

namespace {

struct State {
  std::recursive_mutex Lock;
  std::wstring Folder;
  DeviceConfig Config;
  DeviceRegistry Registry;
  bool Initialised = false;
  bool Dropped = false;  // the device went away mid-transfer
  int64_t Written = 0;
  HANDLE ConnectEvent = nullptr;
  std::set<HANDLE> Files;
  std::set<HANDLE> Finds;
  std::map<HKEY, std::wstring> Keys;
  uintptr_t NextKey = 0x1000;
  DWORD LastError = 0;
};

State& S() {
  static State state;
  return state;
}

using Guard = std::lock_guard<std::recursive_mutex>;

bool Reachable() {
  State& s = S();
  return s.Initialised && s.Config.Present && !s.Dropped;
}

void Log(const std::string& line) {
  AppendLog(S().Folder, line);
}

void SaveRegistry() {
  S().Registry.Save(S().Folder + L"\\registry.txt");
}

DWORD WINAPI SignalLater(void* event) {
  Sleep(S().Config.ConnectDelayMs);
  SetEvent(static_cast<HANDLE>(event));
  return 0;
}

std::optional<std::wstring> KeyPath(HKEY key) {
  switch (reinterpret_cast<uintptr_t>(key)) {
    case 0x80000000u:
      return L"HKCR";
    case 0x80000001u:
      return L"HKCU";
    case 0x80000002u:
      return L"HKLM";
  }
  const auto it = S().Keys.find(key);
  if (it == S().Keys.end())
    return std::nullopt;
  return it->second;
}

std::optional<std::wstring> SubKeyPath(HKEY key, LPCWSTR sub) {
  std::optional<std::wstring> path = KeyPath(key);
  if (path && sub && *sub) {
    std::wstring below = sub;
    while (!below.empty() && below.back() == L'\\')
      below.pop_back();
    *path += L"\\" + below;
  }
  return path;
}

HKEY NewKeyHandle(const std::wstring& path) {
  const HKEY handle = reinterpret_cast<HKEY>(S().NextKey++);
  S().Keys[handle] = path;
  return handle;
}

void WriteAgentAnswer() {
  Guard guard(S().Lock);
  const DeviceConfig& c = S().Config;
  RegKeyData& key = S().Registry.Create(L"HKLM\\Software\\QX\\Kalvenbrooker");
  auto text = [](const std::wstring& value) {
    RegValue v{L"", REG_SZ, {}};
    for (wchar_t ch : value + L'\0') {
      v.Data.push_back(static_cast<uint8_t>(ch & 0xFF));
      v.Data.push_back(static_cast<uint8_t>(ch >> 8));
    }
    return v;
  };
  auto number = [](DWORD value) {
    RegValue v{L"", REG_DWORD, std::vector<uint8_t>(4)};
    memcpy(v.Data.data(), &value, 4);
    return v;
  };
  const std::pair<const wchar_t*, RegValue> answer[] = {{L"Platform", text(c.Platform)},
                                                        {L"Serial", text(c.Serial)},
                                                        {L"XScale", number(c.XScale)},
                                                        {L"Finished", number(1)}};
  for (const auto& [name, value] : answer) {
    RegValue v = value;
    v.Name = name;
    key.Values[Upper(name)] = v;
  }
  SaveRegistry();
  Log("agent answered");
}

DWORD WINAPI AnswerLater(void*) {
  Sleep(S().Config.AgentDelayMs);
  WriteAgentAnswer();
  return 0;
}

// The machine a CE executable for the device's processor carries.
uint16_t MachineOfProcessor(DWORD processor) {
  switch (processor) {
    case 1824:
    case 2080:
    case 2336:
    case 2577:
      return 0x01C0;
    case 2000:
    case 3000:
    case 4000:
      return 0x0166;
    case 10003:
      return 0x01A2;
    case 10005:
      return 0x01A6;
    default:
      return 0;
  }
}

// Starts the device agent: the file must be a CE executable for this device that imports
// the registry functions it needs from the system library.
bool StartAgent(const std::wstring& host_path) {
  HANDLE file = CreateFileW(host_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  std::vector<uint8_t> image(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, image.data(), static_cast<DWORD>(image.size()), &read, nullptr);
  CloseHandle(file);
  image.resize(read);
  std::string error;
  const std::optional<cepe::CeImageFacts> facts = cepe::ReadCeImage(image, error);
  if (facts && facts->Machine != MachineOfProcessor(S().Config.Processor))
    error = "machine does not fit the processor";
  else if (facts && (facts->Subsystem != cepe::kSubsystemWindowsCeGui || !facts->EntryInCode ||
                     facts->ImportLibrary != cepe::kSystemLibrary))
    error = "not a CE executable";
  if (!error.empty()) {
    Log("agent refused: " + error);
    return false;
  }
  Log("agent started: machine " + std::to_string(facts->Machine) + ", " +
      std::to_string(image.size()) + " bytes");
  if (S().Config.Agent != "answer")
    return true;
  if (S().Config.AgentDelayMs == 0) {
    WriteAgentAnswer();
  } else {
    CloseHandle(CreateThread(nullptr, 0, AnswerLater, nullptr, 0, nullptr));
  }
  return true;
}

BOOL Fail(DWORD error) {
  S().LastError = error;
  return FALSE;
}

}  // namespace

#define STANDIN_API extern "C" __declspec(dllexport)

STANDIN_API HRESULT WINAPI CeRapiInitEx(RAPIINIT* init) {
  Guard guard(S().Lock);
  State& s = S();
  s.Folder = DeviceFolder();
  s.Config = ReadConfig(s.Folder);
  if (!init || init->cbSize != sizeof(RAPIINIT) || s.Config.Init == "fail" || !s.Config.Present)
    return kRapiFailure;
  s.Registry.Load(s.Folder + L"\\registry.txt");
  s.Initialised = true;
  s.Dropped = false;
  s.Written = 0;
  s.ConnectEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  init->heRapiInit = s.ConnectEvent;
  init->hrRapiInit = S_OK;
  if (s.Config.Init == "ok") {
    if (s.Config.ConnectDelayMs == 0)
      SetEvent(s.ConnectEvent);
    else
      CloseHandle(CreateThread(nullptr, 0, SignalLater, s.ConnectEvent, 0, nullptr));
  }
  Log("CeRapiInitEx");
  return S_OK;
}

STANDIN_API HRESULT WINAPI CeRapiUninit() {
  Guard guard(S().Lock);
  if (!S().Initialised)
    return kRapiFailure;
  S().Initialised = false;
  Log("CeRapiUninit");
  return S_OK;
}

STANDIN_API BOOL WINAPI CeGetVersionEx(CEOSVERSIONINFO* info) {
  Guard guard(S().Lock);
  if (!Reachable() || !info)
    return Fail(ERROR_NOT_READY);
  info->dwMajorVersion = S().Config.Major;
  info->dwMinorVersion = S().Config.Minor;
  info->dwBuildNumber = 1;
  info->dwPlatformId = 3;  // VER_PLATFORM_WIN32_CE
  return TRUE;
}

STANDIN_API void WINAPI CeGetSystemInfo(SYSTEM_INFO* info) {
  Guard guard(S().Lock);
  if (!info)
    return;
  *info = SYSTEM_INFO{};
  if (Reachable())
    info->dwProcessorType = S().Config.Processor;
}

STANDIN_API BOOL WINAPI CeGetStoreInformation(STORE_INFORMATION* info) {
  Guard guard(S().Lock);
  if (!Reachable() || !info)
    return Fail(ERROR_NOT_READY);
  info->dwStoreSize = S().Config.FreeSpace * 2;
  info->dwFreeSize = S().Config.FreeSpace;
  return TRUE;
}

STANDIN_API DWORD WINAPI CeGetLastError() {
  return S().LastError;
}

// --- files ---

STANDIN_API HANDLE WINAPI CeCreateFile(LPCWSTR name,
                                       DWORD access,
                                       DWORD share,
                                       LPSECURITY_ATTRIBUTES,
                                       DWORD creation,
                                       DWORD flags,
                                       HANDLE) {
  Guard guard(S().Lock);
  const std::optional<std::wstring> path = HostPath(S().Folder, name);
  if (!Reachable() || !path) {
    Fail(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  const HANDLE file = CreateFileW(path->c_str(), access, share | FILE_SHARE_READ, nullptr, creation,
                                  flags, nullptr);
  if (file != INVALID_HANDLE_VALUE)
    S().Files.insert(file);
  else
    S().LastError = GetLastError();
  return file;
}

STANDIN_API BOOL WINAPI
CeReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED) {
  Guard guard(S().Lock);
  if (!Reachable() || !S().Files.count(file))
    return Fail(ERROR_INVALID_HANDLE);
  return ReadFile(file, buffer, count, read, nullptr);
}

// Counts the bytes written; past the configured limit the device drops off the cable:
// the write stops short and fails, and so does every later call.
STANDIN_API BOOL WINAPI
CeWriteFile(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED) {
  Guard guard(S().Lock);
  State& s = S();
  if (written)
    *written = 0;
  if (!Reachable() || !s.Files.count(file))
    return Fail(ERROR_INVALID_HANDLE);
  DWORD allowed = count;
  if (s.Config.WriteLimit >= 0 && s.Written + count > s.Config.WriteLimit)
    allowed = static_cast<DWORD>(std::max<int64_t>(0, s.Config.WriteLimit - s.Written));
  DWORD done = 0;
  const BOOL ok = WriteFile(file, buffer, allowed, &done, nullptr);
  s.Written += done;
  if (written)
    *written = done;
  if (allowed < count) {
    s.Dropped = true;
    Log("device dropped off after " + std::to_string(s.Written) + " bytes");
    return Fail(ERROR_DEVICE_NOT_CONNECTED);
  }
  return ok;
}

STANDIN_API BOOL WINAPI CeCloseHandle(HANDLE handle) {
  Guard guard(S().Lock);
  if (S().Files.erase(handle))
    return CloseHandle(handle);
  return reinterpret_cast<uintptr_t>(handle) >= 0x7000 &&
         reinterpret_cast<uintptr_t>(handle) < 0x7100;  // the agent's process handles
}

STANDIN_API DWORD WINAPI CeSetFilePointer(HANDLE file, LONG distance, PLONG high, DWORD method) {
  Guard guard(S().Lock);
  if (!Reachable() || !S().Files.count(file)) {
    Fail(ERROR_INVALID_HANDLE);
    return INVALID_SET_FILE_POINTER;
  }
  return SetFilePointer(file, distance, high, method);
}

STANDIN_API DWORD WINAPI CeGetFileSize(HANDLE file, LPDWORD high) {
  Guard guard(S().Lock);
  if (!Reachable() || !S().Files.count(file)) {
    Fail(ERROR_INVALID_HANDLE);
    return INVALID_FILE_SIZE;
  }
  return GetFileSize(file, high);
}

STANDIN_API HANDLE WINAPI CeFindFirstFile(LPCWSTR name, CE_FIND_DATA* data) {
  Guard guard(S().Lock);
  const std::optional<std::wstring> path = HostPath(S().Folder, name);
  if (!Reachable() || !path || !data)
    return INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW found;
  const HANDLE find = FindFirstFileW(path->c_str(), &found);
  if (find == INVALID_HANDLE_VALUE)
    return find;
  *data = CE_FIND_DATA{};
  data->dwFileAttributes = found.dwFileAttributes;
  data->nFileSizeLow = found.nFileSizeLow;
  lstrcpynW(data->cFileName, found.cFileName, MAX_PATH);
  S().Finds.insert(find);
  return find;
}

STANDIN_API BOOL WINAPI CeFindClose(HANDLE find) {
  Guard guard(S().Lock);
  return S().Finds.erase(find) ? FindClose(find) : FALSE;
}

#define STANDIN_PATH_CALL(call)                                        \
  Guard guard(S().Lock);                                               \
  const std::optional<std::wstring> path = HostPath(S().Folder, name); \
  if (!Reachable() || !path)                                           \
    return Fail(ERROR_ACCESS_DENIED);                                  \
  return call

STANDIN_API BOOL WINAPI CeCreateDirectory(LPCWSTR name, LPSECURITY_ATTRIBUTES) {
  STANDIN_PATH_CALL(CreateDirectoryW(path->c_str(), nullptr));
}

STANDIN_API BOOL WINAPI CeRemoveDirectory(LPCWSTR name) {
  STANDIN_PATH_CALL(RemoveDirectoryW(path->c_str()));
}

STANDIN_API BOOL WINAPI CeDeleteFile(LPCWSTR name) {
  STANDIN_PATH_CALL(DeleteFileW(path->c_str()));
}

STANDIN_API BOOL WINAPI CeCopyFile(LPCWSTR name, LPCWSTR target, BOOL fail_if_exists) {
  Guard guard(S().Lock);
  const std::optional<std::wstring> from = HostPath(S().Folder, name);
  const std::optional<std::wstring> to = HostPath(S().Folder, target);
  if (!Reachable() || !from || !to)
    return Fail(ERROR_ACCESS_DENIED);
  return CopyFileW(from->c_str(), to->c_str(), fail_if_exists);
}

STANDIN_API BOOL WINAPI CeCreateProcess(LPCWSTR name,
                                        LPCWSTR arguments,
                                        LPSECURITY_ATTRIBUTES,
                                        LPSECURITY_ATTRIBUTES,
                                        BOOL,
                                        DWORD,
                                        LPVOID,
                                        LPWSTR,
                                        LPSTARTUPINFOW,
                                        LPPROCESS_INFORMATION info) {
  Guard guard(S().Lock);
  const std::optional<std::wstring> path = HostPath(S().Folder, name);
  if (!Reachable() || !path || GetFileAttributesW(path->c_str()) == INVALID_FILE_ATTRIBUTES)
    return Fail(ERROR_FILE_NOT_FOUND);
  const bool agent = Upper(name) == L"\\KVB.EXE";
  if (agent && !StartAgent(*path))
    return Fail(ERROR_BAD_EXE_FORMAT);
  if (!agent)
    Log("run " + Utf8(name) + (arguments ? " " + Utf8(arguments) : std::string()));
  if (info) {
    info->hProcess = reinterpret_cast<HANDLE>(0x7000);
    info->hThread = reinterpret_cast<HANDLE>(0x7004);
    info->dwProcessId = 1;
    info->dwThreadId = 1;
  }
  return TRUE;
}

// --- registry ---

STANDIN_API LONG WINAPI CeRegOpenKeyEx(HKEY root, LPCWSTR sub, DWORD, REGSAM, PHKEY result) {
  Guard guard(S().Lock);
  const std::optional<std::wstring> path = SubKeyPath(root, sub);
  if (!Reachable() || !path || !result)
    return ERROR_INVALID_HANDLE;
  if (!S().Registry.Find(*path))
    return ERROR_FILE_NOT_FOUND;
  *result = NewKeyHandle(*path);
  return ERROR_SUCCESS;
}

STANDIN_API LONG WINAPI CeRegCreateKeyEx(HKEY root,
                                         LPCWSTR sub,
                                         DWORD,
                                         LPWSTR,
                                         DWORD,
                                         REGSAM,
                                         LPSECURITY_ATTRIBUTES,
                                         PHKEY result,
                                         LPDWORD disposition) {
  Guard guard(S().Lock);
  const std::optional<std::wstring> path = SubKeyPath(root, sub);
  if (!Reachable() || !path || !result)
    return ERROR_INVALID_HANDLE;
  const bool existed = S().Registry.Find(*path) != nullptr;
  S().Registry.Create(*path);
  SaveRegistry();
  if (disposition)
    *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  *result = NewKeyHandle(*path);
  return ERROR_SUCCESS;
}

STANDIN_API LONG WINAPI CeRegCloseKey(HKEY key) {
  Guard guard(S().Lock);
  return S().Keys.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

STANDIN_API LONG WINAPI CeRegDeleteKey(HKEY root, LPCWSTR sub) {
  Guard guard(S().Lock);
  const std::optional<std::wstring> path = SubKeyPath(root, sub);
  if (!Reachable() || !path || !sub || !*sub)
    return ERROR_INVALID_HANDLE;
  if (!S().Registry.Delete(*path))
    return ERROR_FILE_NOT_FOUND;
  SaveRegistry();
  return ERROR_SUCCESS;
}

STANDIN_API LONG WINAPI CeRegDeleteValue(HKEY key, LPCWSTR name) {
  Guard guard(S().Lock);
  const std::optional<std::wstring> path = KeyPath(key);
  RegKeyData* data = Reachable() && path ? S().Registry.Find(*path) : nullptr;
  if (!data)
    return ERROR_INVALID_HANDLE;
  if (!data->Values.erase(Upper(name ? name : L"")))
    return ERROR_FILE_NOT_FOUND;
  SaveRegistry();
  return ERROR_SUCCESS;
}

STANDIN_API LONG WINAPI
CeRegQueryValueEx(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
  Guard guard(S().Lock);
  const std::optional<std::wstring> path = KeyPath(key);
  RegKeyData* found = Reachable() && path ? S().Registry.Find(*path) : nullptr;
  if (!found)
    return ERROR_INVALID_HANDLE;
  const auto value = found->Values.find(Upper(name ? name : L""));
  if (value == found->Values.end())
    return ERROR_FILE_NOT_FOUND;
  if (type)
    *type = value->second.Type;
  const auto needed = static_cast<DWORD>(value->second.Data.size());
  if (data) {
    if (!size || *size < needed) {
      if (size)
        *size = needed;
      return ERROR_MORE_DATA;
    }
    memcpy(data, value->second.Data.data(), needed);
  }
  if (size)
    *size = needed;
  return ERROR_SUCCESS;
}

STANDIN_API LONG WINAPI
CeRegSetValueEx(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
  Guard guard(S().Lock);
  const std::optional<std::wstring> path = KeyPath(key);
  RegKeyData* found = Reachable() && path ? S().Registry.Find(*path) : nullptr;
  if (!found)
    return ERROR_INVALID_HANDLE;
  const std::wstring value_name = name ? name : L"";
  RegValue& value = found->Values[Upper(value_name)];
  value.Name = value_name;
  value.Type = type;
  value.Data.assign(data, data + (data ? size : 0));
  SaveRegistry();
  return ERROR_SUCCESS;
}
