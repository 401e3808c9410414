// What an installation changed on the machine, kept so that a cancelled or failed
// installation can leave the machine as it was: created files, folders, registry keys
// and values are removed again, replaced files and values come back, registrations are
// withdrawn. Files that an installation replaces are moved into a backup folder (in the
// run's temporary folder) first and moved back on rollback.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "install/install_machine.h"

namespace kvb {

class InstallJournal {
 public:
  // `backup_folder` receives the files moved out of the way; it is created on first use.
  InstallJournal(InstallMachine& machine, std::string backup_folder);

  // Creates the folder with its parents, remembering each folder it created. A folder
  // this journal already saw in place is not looked at again.
  bool CreateFolders(const std::string& path);
  // Makes room for a new file at `path`: an existing file is moved to the backup folder.
  // kMoved also when no file was there; kReadOnly and kInUse leave the file untouched.
  // `exists` passes on what the caller already knows about the file.
  MoveAsideResult PrepareFile(const std::string& path, std::optional<bool> exists = std::nullopt);
  // A file this installation creates (or is about to create) at `path`.
  void FileCreated(const std::string& path);
  // Writes a registry value, creating its key; remembers the keys created and the value
  // that was there before. False when the key cannot be opened or the value not written.
  bool WriteValue(RegRoot root,
                  const std::string& key,
                  const std::string& name,
                  const RegistryData& data);
  // Remembers a registry value as it is now, before a service outside the journal
  // changes it (the shared-DLL counts, font entries).
  void KeepValue(RegRoot root, const std::string& key, const std::string& name);
  // Registers an action whose undoing is known only to the caller (servers, type
  // libraries, fonts, conduits, replacements at restart).
  void Undo(std::function<void()> undo);

  // Undoes everything, newest first. Afterwards the journal is empty.
  void Rollback();
  // Keeps everything: the backups are deleted and the journal emptied.
  void Commit();

 private:
  struct Entry {
    enum Type { kFile, kReplacedFile, kFolder, kKey, kValue, kAction };
    explicit Entry(Type type, std::string path = {}, std::string backup = {})
        : Kind(type), Path(std::move(path)), Backup(std::move(backup)) {}
    Type Kind;
    std::string Path;    // file or folder; key path for kKey and kValue
    std::string Backup;  // kReplacedFile
    RegRoot Root = RegRoot::kCurrentUser;
    std::string Name;                      // kValue
    std::optional<RegistryData> Previous;  // kValue: the value before, if any
    std::function<void()> Action;          // kAction
  };
  void UndoEntry(const Entry& entry);
  std::string NextBackupPath();

  InstallMachine& machine_;
  std::string backup_folder_;
  bool backup_folder_made_ = false;
  int backups_ = 0;
  std::vector<Entry> entries_;
  std::unordered_set<std::string> known_folders_;  // upper case, without trailing backslash
};

}  // namespace kvb
