// What a removal does to the machine and whom it asks: files and folders, registry values
// and keys, the system's unregistration services, HotSync conduits and the four-button
// question. The Win32 implementation (removal_machine_win) acts on the real system; the
// host tests use an in-memory fake. No operation throws; failures come back as results.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "uninstall/removal_plan.h"
#include "vars/variable_loading.h"

namespace kvb {

class RemovalMachine {
 public:
  virtual ~RemovalMachine() = default;

  // --- files and folders (full paths) ---
  virtual bool FileExists(const std::string& path) = 0;    // a file, not a folder
  virtual bool FolderExists(const std::string& path) = 0;  // a trailing backslash is allowed
  // Deletes a file, read-only or not; true when no file is left.
  virtual bool RemoveFile(const std::string& path) = 0;
  // Removes the folder only when it is empty; true when no folder is left.
  virtual bool RemoveEmptyFolder(const std::string& path) = 0;

  // --- registry (key paths without leading or trailing backslash) ---
  virtual bool ValueExists(RegRoot root, const std::string& key, const std::string& name) = 0;
  // True when the value is gone afterwards (a missing value or key counts as gone).
  virtual bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) = 0;
  // The key opens and holds neither values nor subkeys.
  virtual bool KeyIsEmpty(RegRoot root, const std::string& key) = 0;
  // Deletes a key that has no subkeys; true on success.
  virtual bool DeleteKey(RegRoot root, const std::string& key) = 0;
  // Deletes a key with its values and subkeys; true when it is gone.
  virtual bool DeleteKeyTree(RegRoot root, const std::string& key) = 0;
  // A REG_SZ or REG_EXPAND_SZ value; nullopt when the key or value is missing.
  virtual std::optional<std::string> ReadString(RegRoot root,
                                                const std::string& key,
                                                const std::string& name) = 0;
  // The names of the key's direct subkeys (none when it does not open).
  virtual std::vector<std::string> SubkeyNames(RegRoot root, const std::string& key) = 0;

  // --- the system's unregistration services ---
  virtual int WindowsMajorVersion() = 0;
  // Lowers the shared-DLL count of `path`, deleting the count at zero. True when a count
  // above zero is left: other products still use the file.
  virtual bool ReleaseSharedDll(const std::string& path) = 0;
  virtual void UnregisterServer(const std::string& path) = 0;
  virtual void UnregisterTypeLibrary(const std::string& path) = 0;
  virtual void RemoveFont(const std::string& path, const std::string& font_name) = 0;
};

// HotSync conduit registrations. The device subsystem implements it; without one (no
// HotSync support built in) conduit items stay and are reported as not removed.
class ConduitRemover {
 public:
  virtual ~ConduitRemover() = default;
  // Removes every registration of the conduit with this creator; false on failure.
  virtual bool RemoveConduit(const std::string& creator) = 0;
};

// Everything the four-button question shows. Texts are final: expanded, "<file>"
// replaced.
struct FileActionQuestion {
  FileQuestion Kind = FileQuestion::kNone;
  std::string Caption;  // the application title
  std::string Message;
  std::string YesCaption;
  std::string YesToAllCaption;
  std::string NoCaption;
  std::string NoToAllCaption;
  std::string FileLabel;  // the label of the file row
  std::string File;       // full path (its size, date and icon are shown)
};

class FileActionPrompt {
 public:
  virtual ~FileActionPrompt() = default;
  // Shows the question modally; closing it by its frame counts as kNo.
  virtual FileAnswer Ask(const FileActionQuestion& question) = 0;
};

}  // namespace kvb
