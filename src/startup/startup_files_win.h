// Files and folders of the run's temporary folder, with the ANSI Win32 calls.
#pragma once

#include <string>

#include "startup/startup_host.h"

namespace kvb {

// Creates the folder, and its missing parents; kCreated only when this call made it.
FolderCreation CreateFolderWithParents(const std::string& path);

// Clears the read-only attribute and deletes the file.
bool DeleteFileForced(const std::string& path);

// Deletes the folder's files, its subfolders (a folder that is a link, such as a
// junction, is removed without entering it) and the folder itself. What cannot be
// deleted stays.
void RemoveFolderTreeWin(const std::string& path);

}  // namespace kvb
