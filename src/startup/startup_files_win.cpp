#include "startup/startup_files_win.h"

#include <windows.h>

#include "base/text.h"

namespace kvb {

namespace {

// Deeper trees than this are left alone: our own folder is never nested so deep.
constexpr int kMaxFolderDepth = 32;

FolderCreation CreateFolderAt(const std::string& path, int depth) {
  if (CreateDirectoryA(path.c_str(), nullptr))
    return FolderCreation::kCreated;
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS)
    return FolderCreation::kExisted;
  if (error != ERROR_PATH_NOT_FOUND || depth >= kMaxFolderDepth)
    return FolderCreation::kFailed;
  const std::string parent = ExcludeTrailingBackslash(ExtractFilePath(path));
  if (parent.empty() || parent.size() >= path.size())
    return FolderCreation::kFailed;
  if (CreateFolderAt(parent, depth + 1) == FolderCreation::kFailed)
    return FolderCreation::kFailed;
  return CreateDirectoryA(path.c_str(), nullptr) ? FolderCreation::kCreated
                                                 : FolderCreation::kFailed;
}

void RemoveTree(const std::string& folder, int depth) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..")
        continue;
      const std::string path = folder + "\\" + name;
      const DWORD attributes = entry.dwFileAttributes;
      if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileForced(path);
      else if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) || depth >= kMaxFolderDepth)
        RemoveDirectoryA(path.c_str());
      else
        RemoveTree(path, depth + 1);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

FolderCreation CreateFolderWithParents(const std::string& path) {
  return CreateFolderAt(ExcludeTrailingBackslash(path), 0);
}

bool DeleteFileForced(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return DeleteFileA(path.c_str()) != FALSE;
}

void RemoveFolderTreeWin(const std::string& path) {
  const std::string folder = ExcludeTrailingBackslash(path);
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (folder.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
      !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return;
  }
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
    RemoveDirectoryA(folder.c_str());
  else
    RemoveTree(folder, 0);
}

}  // namespace kvb
