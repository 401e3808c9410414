// What a path names on the local file system, from its attributes.
#pragma once

#include <string>

namespace kvb {

// Whether `path` names an existing file; false for a folder.
bool IsFile(const std::string& path);
// Whether `path` names an existing folder.
bool IsFolder(const std::string& path);

}  // namespace kvb
