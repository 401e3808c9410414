#include "ui/controls/directory_entries.h"

#include <algorithm>

#include "base/text.h"

namespace kvb {

namespace {

std::string Shown(const std::string& name, bool preserve_case) {
  return preserve_case ? name : LowerText(name);
}

}  // namespace

std::vector<DirectoryEntry> DirectoryEntries(const std::string& folder,
                                             std::vector<std::string> sub_folders,
                                             bool preserve_case) {
  std::vector<DirectoryEntry> entries;
  const std::string path = ExcludeTrailingBackslash(folder);
  if (path.size() < 2 || path[1] != ':')
    return entries;
  std::vector<std::string> parts = SplitText(path.substr(2), "\\");
  std::erase_if(parts, [](const std::string& part) { return part.empty(); });

  std::string current = path.substr(0, 2) + "\\";
  entries.push_back({Shown(current, preserve_case), current, 0,
                     parts.empty() ? FolderPicture::kCurrent : FolderPicture::kOpen});
  for (size_t i = 0; i < parts.size(); ++i) {
    current = IncludeTrailingBackslash(current) + parts[i];
    const bool last = i + 1 == parts.size();
    entries.push_back({Shown(parts[i], preserve_case), current, static_cast<int>(i + 1),
                       last ? FolderPicture::kCurrent : FolderPicture::kOpen});
  }
  std::sort(sub_folders.begin(), sub_folders.end(),
            [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  const int level = static_cast<int>(parts.size()) + 1;
  for (const std::string& name : sub_folders) {
    entries.push_back({Shown(name, preserve_case), IncludeTrailingBackslash(current) + name, level,
                       FolderPicture::kClosed});
  }
  return entries;
}

int CurrentDirectoryIndex(const std::vector<DirectoryEntry>& entries) {
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].Picture == FolderPicture::kCurrent)
      return static_cast<int>(i);
  }
  return -1;
}

std::string FolderPictureName(FolderPicture picture) {
  switch (picture) {
    case FolderPicture::kOpen:
      return "NFC_OPENFOLDER";
    case FolderPicture::kCurrent:
      return "NFC_CURRENTFOLDER";
    case FolderPicture::kClosed:
      break;
  }
  return "NFC_CLOSEDFOLDER";
}

}  // namespace kvb
