#include "install/install_machine_win.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "base/system_library_win.h"
#include "base/text.h"
#include "base/wide_text_win.h"
#include "install/shell_link_win.h"
#include "vars/file_version.h"
#include "vars/reg_key_win.h"
#include "vars/system_registration_win.h"

namespace kvb {
namespace {

DWORD Attributes(const std::string& path) {
  return GetFileAttributesA(ExcludeTrailingBackslash(path).c_str());
}

// The parts of a folder path that may be created: "C:\a\b" gives "C:\a", "C:\a\b";
// "\\server\share\a" gives "\\server\share\a".
std::vector<std::string> CreatableFolders(const std::string& path) {
  const std::string p = ExcludeTrailingBackslash(path);
  size_t start = 0;
  if (p.rfind("\\\\", 0) == 0) {
    const size_t server = p.find('\\', 2);
    start = server == std::string::npos ? p.size() : p.find('\\', server + 1);
  } else if (p.size() >= 2 && p[1] == ':') {
    start = 2;
  }
  std::vector<std::string> folders;
  for (size_t pos = start; pos != std::string::npos && pos < p.size();) {
    const size_t next = p.find('\\', pos + 1);
    folders.push_back(p.substr(0, next));
    pos = next;
  }
  return folders;
}

// The pending renames as pairs of (source, target) entries of the multi-string.
std::vector<std::string> SplitMultiString(const std::string& bytes) {
  std::vector<std::string> items;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t end = std::min(bytes.find('\0', pos), bytes.size());
    items.push_back(bytes.substr(pos, end - pos));
    pos = end + 1;
  }
  while (!items.empty() && items.back().empty() && items.size() % 2 == 1)
    items.pop_back();
  return items;
}

class WindowsInstallMachine final : public InstallMachine {
 public:
  bool FileExists(const std::string& path) override {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool FolderExists(const std::string& path) override {
    const std::string p = ExcludeTrailingBackslash(path);
    const DWORD a = GetFileAttributesA((p.size() == 2 && p[1] == ':' ? p + "\\" : p).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool CreateFolders(const std::string& path, std::vector<std::string>& created) override {
    for (const std::string& folder : CreatableFolders(path)) {
      if (FolderExists(folder))
        continue;
      if (!CreateDirectoryA(folder.c_str(), nullptr))
        return FolderExists(path);
      created.push_back(folder);
    }
    return FolderExists(path);
  }
  bool RemoveFolder(const std::string& path) override {
    return RemoveDirectoryA(ExcludeTrailingBackslash(path).c_str()) != 0;
  }
  std::optional<uint32_t> FileDate(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
        !FileTimeToDosDateTime(&local, &date, &time)) {
      return std::nullopt;
    }
    return (static_cast<uint32_t>(date) << 16) | time;
  }
  std::optional<FileVersionWords> FileVersion(const std::string& path) override {
    FixedFileVersion version;
    if (!GetFileVersion(path, version))
      return std::nullopt;
    return FileVersionWords{version.dwFileVersionMS, version.dwFileVersionLS};
  }
  bool IsProtected(const std::string& path) override {
    if (!FileExists(path))
      return false;
    // Loaded on first use and kept: an installation over many existing files asks often.
    if (!sfc_)
      sfc_.emplace("sfc.dll");
    using Fn = BOOL(WINAPI*)(HANDLE, LPCWSTR);
    const Fn is_protected = sfc_->Function<Fn>("SfcIsFileProtected");
    if (!is_protected)
      return false;
    return is_protected(nullptr, AnsiToWide(path).c_str()) != 0;
  }
  MoveAsideResult MoveAside(const std::string& path, const std::string& backup) override {
    const DWORD a = Attributes(path);
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY))
      return MoveAsideResult::kReadOnly;
    if (MoveFileExA(path.c_str(), backup.c_str(),
                    MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING))
      return MoveAsideResult::kMoved;
    return MoveAsideResult::kInUse;
  }
  bool RestoreFile(const std::string& backup, const std::string& path) override {
    DeleteFileForce(path);
    return MoveFileExA(backup.c_str(), path.c_str(),
                       MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING) != 0;
  }
  bool RemoveFile(const std::string& path) override { return DeleteFileForce(path); }
  bool WriteFile(const std::string& path, const std::string& bytes) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
      return false;
    DWORD written = 0;
    const bool ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    const bool closed = CloseHandle(file) != 0;
    if (!ok || !closed)
      DeleteFileA(path.c_str());
    return ok && closed;
  }
  bool ScheduleReplace(const std::string& source, const std::string& target) override {
    return MoveFileExA(source.c_str(), target.c_str(),
                       MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING) != 0;
  }
  void CancelScheduledReplace(const std::string& source) override;
  std::unique_ptr<ArchiveFiles> CreateArchiveFiles() override { return MakePlatformArchiveFiles(); }
  std::unique_ptr<ByteSource> OpenFile(const std::string& path) override {
    return OpenFileSource(path);
  }

  bool KeyExists(RegRoot root, const std::string& key) override {
    RegKey k;
    return k.Open(RootKey(root), key, KEY_READ) == ERROR_SUCCESS;
  }
  bool CreateKey(RegRoot root, const std::string& key, std::vector<std::string>& created) override {
    std::string prefix;
    for (const std::string& part : SplitText(key, "\\")) {
      prefix += prefix.empty() ? part : "\\" + part;
      if (KeyExists(root, prefix))
        continue;
      RegKey k;
      if (k.Create(RootKey(root), prefix, KEY_WRITE) != ERROR_SUCCESS)
        return false;
      created.push_back(prefix);
    }
    RegKey k;
    return k.Open(RootKey(root), key, KEY_WRITE) == ERROR_SUCCESS;
  }
  std::optional<RegistryData> ReadValue(RegRoot root,
                                        const std::string& key,
                                        const std::string& name) override {
    RegKey k;
    if (k.Open(RootKey(root), key, KEY_QUERY_VALUE) != ERROR_SUCCESS)
      return std::nullopt;
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD type = 0;
      DWORD size = 0;
      if (RegQueryValueExA(k.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
      std::string bytes(size, '\0');
      const LONG rc = RegQueryValueExA(k.Get(), name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(bytes.data()), &size);
      if (rc == ERROR_MORE_DATA)
        continue;
      if (rc != ERROR_SUCCESS)
        return std::nullopt;
      bytes.resize(size);
      return RegistryData{type, bytes};
    }
    return std::nullopt;
  }
  bool WriteValue(RegRoot root,
                  const std::string& key,
                  const std::string& name,
                  const RegistryData& data) override {
    RegKey k;
    if (k.Open(RootKey(root), key, KEY_SET_VALUE) != ERROR_SUCCESS)
      return false;
    return RegSetValueExA(k.Get(), name.c_str(), 0, data.Type,
                          reinterpret_cast<const BYTE*>(data.Bytes.data()),
                          static_cast<DWORD>(data.Bytes.size())) == ERROR_SUCCESS;
  }
  bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) override {
    RegKey k;
    return k.Open(RootKey(root), key, KEY_SET_VALUE) == ERROR_SUCCESS &&
           RegDeleteValueA(k.Get(), name.c_str()) == ERROR_SUCCESS;
  }
  bool DeleteKeyIfEmpty(RegRoot root, const std::string& key) override {
    RegKey k;
    if (k.Open(RootKey(root), key, KEY_READ) != ERROR_SUCCESS)
      return false;
    DWORD subkeys = 0;
    DWORD values = 0;
    if (RegQueryInfoKeyA(k.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
        subkeys != 0 || values != 0) {
      return false;
    }
    k.Close();
    return RegDeleteKeyA(RootKey(root), key.c_str()) == ERROR_SUCCESS;
  }

  bool CreateShortcut(const ShortcutSpec& s) override {
    return kvb::CreateShortcut(s.LinkPath, s.Description, s.Target, s.Arguments, s.WorkingDir,
                               s.IconFile, s.IconIndex, s.ShowCmd);
  }
  bool RegisterServer(const std::string& file) override { return kvb::RegisterServer(file); }
  void UnregisterServer(const std::string& file) override { kvb::UnregisterServer(file); }
  bool RegisterTypeLibrary(const std::string& file) override {
    return kvb::RegisterTypeLibrary(file);
  }
  void UnregisterTypeLibrary(const std::string& file) override { kvb::UnregisterTypeLibrary(file); }
  bool AddSharedDllReference(const std::string& file) override {
    return kvb::AddSharedDllReference(file);
  }
  std::string InstallFont(const std::string& file, const std::string& name) override {
    return kvb::InstallFont(file, name);
  }
  void RemoveFont(const std::string& file, const std::string& name) override {
    kvb::RemoveFont(file, name);
  }

 private:
  std::optional<SystemLibrary> sfc_;
};

// The system keeps each replacement as two entries: "\??\source", then the target
// (prefixed with "!\??\" when it replaces an existing file). Removes the pair whose
// source is `source`.
void WindowsInstallMachine::CancelScheduledReplace(const std::string& source) {
  const std::optional<RegistryData> value =
      ReadValue(RegRoot::kLocalMachine, kSessionManagerKey, kPendingRenamesValue);
  if (!value)
    return;
  const std::vector<std::string> items = SplitMultiString(value->Bytes);
  std::string kept;
  bool removed = false;
  for (size_t i = 0; i + 1 < items.size(); i += 2) {
    std::string from = items[i];
    if (from.rfind("\\??\\", 0) == 0)
      from = from.substr(4);
    if (SameText(from, source)) {
      removed = true;
      continue;
    }
    kept += items[i] + '\0' + items[i + 1] + '\0';
  }
  if (!removed)
    return;
  if (kept.empty()) {
    DeleteValue(RegRoot::kLocalMachine, kSessionManagerKey, kPendingRenamesValue);
    return;
  }
  WriteValue(RegRoot::kLocalMachine, kSessionManagerKey, kPendingRenamesValue,
             {REG_MULTI_SZ, kept + '\0'});
}

}  // namespace

std::unique_ptr<InstallMachine> MakeWindowsInstallMachine() {
  return std::make_unique<WindowsInstallMachine>();
}

}  // namespace kvb
