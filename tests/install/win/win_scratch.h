// Scratch folders and registry keys of the Win32 installation tests, and snapshots of
// both for the before-and-after comparisons.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace kvb::test {

// The folder holding the test program (and the test libraries).
std::string ProgramFolder();

// A fresh folder under the temporary folder, removed with its content.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);
// Sets a file's last-write time to a fixed, recognisable moment.
void SetOldFileTime(const std::string& path);

// Every file (content and last-write time) and folder below `folder`, by relative path.
std::map<std::string, std::string> SnapshotFolder(const std::string& folder);
// Every key and value below root\key, as "key|name" -> "type:bytes".
std::map<std::string, std::string> SnapshotKey(HKEY root, const std::string& key);

// Removes a key with all its subkeys.
void DeleteKeyTree(HKEY root, const std::string& key);

}  // namespace kvb::test
