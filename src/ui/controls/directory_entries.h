// The folder list's entries, free of windows so that they are tested on the host: the
// drive root, each folder on the path down to the current folder, the current folder,
// then its sub-folders in sorted order, each indented by its level.
#pragma once

#include <string>
#include <vector>

namespace kvb {

enum class FolderPicture { kOpen, kCurrent, kClosed };

struct DirectoryEntry {
  std::string Text;  // as shown (lower case on file systems that do not keep case)
  std::string Path;  // full path; a root ends with a backslash ("C:\")
  int Level = 0;     // 0 for the root
  FolderPicture Picture = FolderPicture::kClosed;
};

// Entries for `folder` (a full path such as "C:\Program Files\Acme"; a trailing
// backslash is ignored) and the names of its sub-folders in any order. The root and the
// folders above the current one show the open-folder picture, the current folder the
// current-folder picture (also when it is the root), its sub-folders the closed one.
// With `preserve_case` false the texts are lower case. Empty for a path without a drive.
std::vector<DirectoryEntry> DirectoryEntries(const std::string& folder,
                                             std::vector<std::string> sub_folders,
                                             bool preserve_case);

// The index of the current folder among DirectoryEntries' entries (-1 when empty).
int CurrentDirectoryIndex(const std::vector<DirectoryEntry>& entries);

// The name of the folder picture resource: "NFC_" + "CLOSEDFOLDER", "OPENFOLDER" or
// "CURRENTFOLDER".
std::string FolderPictureName(FolderPicture picture);

}  // namespace kvb
