// What the installation engine does to the machine: files and folders, registry values,
// shortcut files and the system's registration services. The Win32 implementation
// (install_machine_win) acts on the real system; the host tests use an in-memory fake.
// Every operation reports failure by its result and never throws.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "install/registry_data.h"
#include "setupdata/archive_files.h"
#include "setupdata/byte_source.h"
#include "vars/variable_loading.h"

namespace kvb {

// A version resource's file version: most and least significant words.
struct FileVersionWords {
  uint32_t High = 0;
  uint32_t Low = 0;
  bool operator==(const FileVersionWords&) const = default;
};

enum class MoveAsideResult {
  kMoved,     // the file now lies at the backup path
  kReadOnly,  // a read-only file: left alone (it cannot be replaced)
  kInUse,     // it could not be moved (in use, locked)
};

struct ShortcutSpec {
  std::string LinkPath;
  std::string Description;  // set when not empty
  std::string Target;
  std::string Arguments;
  std::string WorkingDir;  // set when not empty
  std::string IconFile;    // set when not empty
  int IconIndex = 0;
  int ShowCmd = 1;
};

class InstallMachine {
 public:
  virtual ~InstallMachine() = default;

  // --- files and folders (paths with backslashes) ---
  virtual bool FileExists(const std::string& path) = 0;    // a file, not a folder
  virtual bool FolderExists(const std::string& path) = 0;  // a trailing backslash is allowed
  // Creates the folder and its missing parents. Appends every folder this call created,
  // outermost first and without a trailing backslash, to `created`. True when the folder
  // exists afterwards.
  virtual bool CreateFolders(const std::string& path, std::vector<std::string>& created) = 0;
  // Removes an empty folder; false when it is not empty or cannot be removed.
  virtual bool RemoveFolder(const std::string& path) = 0;
  // Last-write time as a DOS date (high word) and time (low word), local time.
  virtual std::optional<uint32_t> FileDate(const std::string& path) = 0;
  // The file version of the file's version resource; nullopt when it has none.
  virtual std::optional<FileVersionWords> FileVersion(const std::string& path) = 0;
  // Protected by the system's file protection (false where the system has none).
  virtual bool IsProtected(const std::string& path) = 0;
  // Moves an existing file out of the way to `backup` (whose folder exists).
  virtual MoveAsideResult MoveAside(const std::string& path, const std::string& backup) = 0;
  // Moves a file back from its backup, replacing whatever is at `path`.
  virtual bool RestoreFile(const std::string& backup, const std::string& path) = 0;
  // Deletes a file, read-only or not; true when no file is left.
  virtual bool RemoveFile(const std::string& path) = 0;
  // Creates or replaces the file with exactly these bytes; false when that failed (a
  // partly written file is removed).
  virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
  // Registers `source` to replace `target` when Windows next starts.
  virtual bool ScheduleReplace(const std::string& source, const std::string& target) = 0;
  // Withdraws a replacement registered for `source` (nothing when there is none).
  virtual void CancelScheduledReplace(const std::string& source) = 0;
  // The files the archive reader writes through.
  virtual std::unique_ptr<ArchiveFiles> CreateArchiveFiles() = 0;
  // Opens a file for reading; nullptr when it cannot be opened.
  virtual std::unique_ptr<ByteSource> OpenFile(const std::string& path) = 0;

  // --- registry (key paths without leading or trailing backslash) ---
  virtual bool KeyExists(RegRoot root, const std::string& key) = 0;
  // Opens the key, creating it and its missing parents; appends every key this call
  // created, outermost first, to `created`. False when the key cannot be opened.
  virtual bool CreateKey(RegRoot root,
                         const std::string& key,
                         std::vector<std::string>& created) = 0;
  virtual std::optional<RegistryData> ReadValue(RegRoot root,
                                                const std::string& key,
                                                const std::string& name) = 0;
  // Writes the value into an existing key; false when that fails.
  virtual bool WriteValue(RegRoot root,
                          const std::string& key,
                          const std::string& name,
                          const RegistryData& data) = 0;
  virtual bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) = 0;
  // Deletes the key when it has neither values nor subkeys.
  virtual bool DeleteKeyIfEmpty(RegRoot root, const std::string& key) = 0;

  // --- shell and registration services ---
  virtual bool CreateShortcut(const ShortcutSpec& shortcut) = 0;
  virtual bool RegisterServer(const std::string& file) = 0;
  virtual void UnregisterServer(const std::string& file) = 0;
  virtual bool RegisterTypeLibrary(const std::string& file) = 0;
  virtual void UnregisterTypeLibrary(const std::string& file) = 0;
  // True when the shared-DLL key could be opened (the count is then one higher).
  virtual bool AddSharedDllReference(const std::string& file) = 0;
  // Registers the installed font file under `name`; returns the registered file name.
  virtual std::string InstallFont(const std::string& file, const std::string& name) = 0;
  virtual void RemoveFont(const std::string& file, const std::string& name) = 0;
};

// Where the shared-DLL counts live (HKEY_LOCAL_MACHINE).
inline constexpr char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

}  // namespace kvb
