// An in-memory machine for the host tests of the removal: files, folders, registry keys
// and values (names compared without regard to case, as Windows does), shared-file counts,
// and a journal of every change in the order it happened.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "uninstall/removal_machine.h"

namespace kvb {

class FakeRemovalMachine : public RemovalMachine {
 public:
  // Lays out a file and its parent folders.
  void AddFile(const std::string& path);
  void AddFolder(const std::string& path);
  void SetValue(RegRoot root,
                const std::string& key,
                const std::string& name,
                const std::string& data = "x");
  void AddKey(RegRoot root, const std::string& key);
  bool HasKey(RegRoot root, const std::string& key) const;
  bool HasValue(RegRoot root, const std::string& key, const std::string& name) const;

  // Things that cannot be removed.
  std::set<std::string> locked_files;        // upper case
  std::set<std::string> locked_values;       // upper case "KEY|NAME"
  std::set<std::string> locked_keys;         // upper case key
  std::map<std::string, int> shared_counts;  // upper-case path -> count
  int windows_major = 5;
  std::vector<std::string> journal;  // "remove-file C:\X", "unregister-server C:\X" ...

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveEmptyFolder(const std::string& path) override;
  bool ValueExists(RegRoot root, const std::string& key, const std::string& name) override;
  bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) override;
  bool KeyIsEmpty(RegRoot root, const std::string& key) override;
  bool DeleteKey(RegRoot root, const std::string& key) override;
  bool DeleteKeyTree(RegRoot root, const std::string& key) override;
  std::optional<std::string> ReadString(RegRoot root,
                                        const std::string& key,
                                        const std::string& name) override;
  std::vector<std::string> SubkeyNames(RegRoot root, const std::string& key) override;
  int WindowsMajorVersion() override { return windows_major; }
  bool ReleaseSharedDll(const std::string& path) override;
  void UnregisterServer(const std::string& path) override;
  void UnregisterTypeLibrary(const std::string& path) override;
  void RemoveFont(const std::string& path, const std::string& font_name) override;

 private:
  using Key = std::pair<RegRoot, std::string>;  // upper-case path
  bool HasChildren(const std::string& folder) const;
  bool HasSubkeys(const Key& key) const;

  std::set<std::string> files_;    // upper case
  std::set<std::string> folders_;  // upper case, no trailing backslash
  std::set<Key> keys_;
  std::map<Key, std::map<std::string, std::string>> values_;  // upper-case names
};

// Answers the four-button question from a script of answers and records each question.
class ScriptedPrompt : public FileActionPrompt {
 public:
  std::vector<FileAnswer> answers;  // taken in order; kNo once they run out
  std::vector<FileActionQuestion> asked;
  FileAnswer Ask(const FileActionQuestion& question) override;
};

class FakeConduits : public ConduitRemover {
 public:
  bool succeed = true;
  std::vector<std::string> removed;
  bool RemoveConduit(const std::string& creator) override {
    removed.push_back(creator);
    return succeed;
  }
};

}  // namespace kvb
