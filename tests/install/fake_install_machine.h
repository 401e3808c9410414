// An in-memory machine for the host tests of the installation engine: files with dates
// and versions, folders, registry values, shortcuts and a record of the registration
// services. Paths compare without regard to case, as on Windows.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "install/install_machine.h"

namespace kvb::test {

struct PathLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct FakeFile {
  FakeFile() = default;
  explicit FakeFile(std::string content, uint32_t date = 0)
      : Content(std::move(content)), Date(date) {}
  std::string Content;
  uint32_t Date = 0;
  std::optional<FileVersionWords> Version;
  bool ReadOnly = false;
  bool InUse = false;  // cannot be moved or deleted
  bool operator==(const FakeFile&) const = default;
};

class FakeInstallMachine final : public InstallMachine {
 public:
  // --- the machine's state, set up by tests and compared before and after ---
  std::map<std::string, FakeFile, PathLess> files;
  std::set<std::string, PathLess> folders;     // without trailing backslash
  std::map<std::string, RegistryData> values;  // "root|KEY|NAME" (upper case) -> data
  std::set<std::string> keys;                  // "root|KEY" (upper case)
  std::map<std::string, ShortcutSpec, PathLess> shortcuts;
  std::vector<std::pair<std::string, std::string>> pending;  // replacements at restart
  std::set<std::string, PathLess> servers;                   // registered servers
  std::set<std::string, PathLess> type_libraries;
  std::map<std::string, std::string> fonts;  // name -> registered file

  // --- failures to simulate ---
  std::set<std::string, PathLess> protected_files;
  std::set<std::string, PathLess> unwritable_folders;  // CreateFolders fails there
  std::set<std::string, PathLess> unwritable_files;    // WriteFile and the reader fail
  std::set<std::string> unwritable_keys;               // "root|KEY"
  std::set<std::string, PathLess> failing_servers;
  bool shortcuts_fail = false;

  std::vector<std::string> calls;  // registration services called, in order

  // A snapshot of everything a rollback must restore.
  struct State {
    std::map<std::string, FakeFile, PathLess> files;
    std::set<std::string, PathLess> folders;
    std::map<std::string, RegistryData> values;
    std::set<std::string> keys;
    std::vector<std::pair<std::string, std::string>> pending;
    std::set<std::string, PathLess> servers;
    std::set<std::string, PathLess> type_libraries;
    std::map<std::string, std::string> fonts;
    bool operator==(const State&) const = default;
  };
  // The state without the backup folder under `ignore` (a temporary folder).
  State Snapshot(const std::string& ignore = "") const;

  void AddFile(const std::string& path, const std::string& content, uint32_t date = 0);
  std::optional<std::string> Value(RegRoot root,
                                   const std::string& key,
                                   const std::string& name) const;
  static std::string KeyId(RegRoot root, const std::string& key);

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool CreateFolders(const std::string& path, std::vector<std::string>& created) override;
  bool RemoveFolder(const std::string& path) override;
  std::optional<uint32_t> FileDate(const std::string& path) override;
  std::optional<FileVersionWords> FileVersion(const std::string& path) override;
  bool IsProtected(const std::string& path) override { return protected_files.count(path) != 0; }
  MoveAsideResult MoveAside(const std::string& path, const std::string& backup) override;
  bool RestoreFile(const std::string& backup, const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool WriteFile(const std::string& path, const std::string& bytes) override;
  bool ScheduleReplace(const std::string& source, const std::string& target) override;
  void CancelScheduledReplace(const std::string& source) override;
  std::unique_ptr<ArchiveFiles> CreateArchiveFiles() override;
  std::unique_ptr<ByteSource> OpenFile(const std::string& path) override;

  bool KeyExists(RegRoot root, const std::string& key) override;
  bool CreateKey(RegRoot root, const std::string& key, std::vector<std::string>& created) override;
  std::optional<RegistryData> ReadValue(RegRoot root,
                                        const std::string& key,
                                        const std::string& name) override;
  bool WriteValue(RegRoot root,
                  const std::string& key,
                  const std::string& name,
                  const RegistryData& data) override;
  bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) override;
  bool DeleteKeyIfEmpty(RegRoot root, const std::string& key) override;

  bool CreateShortcut(const ShortcutSpec& shortcut) override;
  bool RegisterServer(const std::string& file) override;
  void UnregisterServer(const std::string& file) override;
  bool RegisterTypeLibrary(const std::string& file) override;
  void UnregisterTypeLibrary(const std::string& file) override;
  bool AddSharedDllReference(const std::string& file) override;
  std::string InstallFont(const std::string& file, const std::string& name) override;
  void RemoveFont(const std::string& file, const std::string& name) override;

 private:
  bool ParentExists(const std::string& path) const;
};

}  // namespace kvb::test
