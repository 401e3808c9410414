#include "install/install_journal.h"

#include "base/text.h"

namespace kvb {

InstallJournal::InstallJournal(InstallMachine& machine, std::string backup_folder)
    : machine_(machine), backup_folder_(IncludeTrailingBackslash(backup_folder)) {}

bool InstallJournal::CreateFolders(const std::string& path) {
  const std::string key = UpperText(ExcludeTrailingBackslash(path));
  if (known_folders_.count(key))
    return true;
  std::vector<std::string> created;
  const bool ok = machine_.CreateFolders(path, created);
  for (const std::string& folder : created)
    entries_.emplace_back(Entry::kFolder, folder);
  if (ok)
    known_folders_.insert(key);
  return ok;
}

std::string InstallJournal::NextBackupPath() {
  if (!backup_folder_made_) {
    std::vector<std::string> created;
    machine_.CreateFolders(backup_folder_, created);
    backup_folder_made_ = true;
  }
  return backup_folder_ + std::to_string(++backups_) + ".bak";
}

MoveAsideResult InstallJournal::PrepareFile(const std::string& path, std::optional<bool> exists) {
  if (!exists.value_or(machine_.FileExists(path)))
    return MoveAsideResult::kMoved;
  const std::string backup = NextBackupPath();
  const MoveAsideResult result = machine_.MoveAside(path, backup);
  if (result == MoveAsideResult::kMoved)
    entries_.emplace_back(Entry::kReplacedFile, path, backup);
  return result;
}

void InstallJournal::FileCreated(const std::string& path) {
  entries_.emplace_back(Entry::kFile, path);
}

void InstallJournal::KeepValue(RegRoot root, const std::string& key, const std::string& name) {
  Entry entry(Entry::kValue, key);
  entry.Root = root;
  entry.Name = name;
  entry.Previous = machine_.ReadValue(root, key, name);
  entries_.push_back(std::move(entry));
}

bool InstallJournal::WriteValue(RegRoot root,
                                const std::string& key,
                                const std::string& name,
                                const RegistryData& data) {
  std::vector<std::string> created;
  const bool opened = machine_.CreateKey(root, key, created);
  for (const std::string& made : created) {
    Entry entry(Entry::kKey, made);
    entry.Root = root;
    entries_.push_back(std::move(entry));
  }
  if (!opened)
    return false;
  KeepValue(root, key, name);
  return machine_.WriteValue(root, key, name, data);
}

void InstallJournal::Undo(std::function<void()> undo) {
  Entry entry(Entry::kAction);
  entry.Action = std::move(undo);
  entries_.push_back(std::move(entry));
}

void InstallJournal::UndoEntry(const Entry& entry) {
  switch (entry.Kind) {
    case Entry::kFile:
      machine_.RemoveFile(entry.Path);
      break;
    case Entry::kReplacedFile:
      machine_.RestoreFile(entry.Backup, entry.Path);
      break;
    case Entry::kFolder:
      machine_.RemoveFolder(entry.Path);
      break;
    case Entry::kKey:
      machine_.DeleteKeyIfEmpty(entry.Root, entry.Path);
      break;
    case Entry::kValue:
      if (entry.Previous)
        machine_.WriteValue(entry.Root, entry.Path, entry.Name, *entry.Previous);
      else
        machine_.DeleteValue(entry.Root, entry.Path, entry.Name);
      break;
    case Entry::kAction:
      entry.Action();
      break;
  }
}

void InstallJournal::Rollback() {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
    UndoEntry(*it);
  entries_.clear();
  known_folders_.clear();
  if (backup_folder_made_)
    machine_.RemoveFolder(backup_folder_);
  backup_folder_made_ = false;
}

void InstallJournal::Commit() {
  for (const Entry& entry : entries_) {
    if (entry.Kind == Entry::kReplacedFile)
      machine_.RemoveFile(entry.Backup);
  }
  entries_.clear();
  if (backup_folder_made_)
    machine_.RemoveFolder(backup_folder_);
  backup_folder_made_ = false;
}

}  // namespace kvb
