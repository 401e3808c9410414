// Folders a run creates for itself in a place others may write to (the user's temporary
// folder): the setup's temporary files, the uninstaller's copy of itself. Whatever the run
// puts there and later opens, loads or starts must be what it put there.
#pragma once

#include <windows.h>

#include <string>

#include "base/folder_creation.h"
#include "base/unique_handle_win.h"

namespace kvb {

// Whether the process runs with administrator rights: an elevated token, or, where the
// system knows no elevation (before Vista), membership of the Administrators group.
bool IsProcessElevated();

// The security descriptor of a protected folder, in the system's text form: owned by
// the Administrators, full access for them and for the system, nothing else, and nothing
// inherited from the parent; files and folders created inside inherit it.
inline constexpr char kProtectedFolderSddl[] = "O:BAG:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

// A folder this run created. Create never takes a folder that exists already (nor
// anything else standing at its name). With `protect` the folder gets
// kProtectedFolderSddl, so other users and the same user's processes without elevation
// can neither put files into it nor change or replace the ones there. While the object
// holds the folder, nobody can move, rename or delete the folder itself (it is open
// without delete sharing), so its path keeps leading to it.
class PrivateFolder {
 public:
  PrivateFolder() = default;
  PrivateFolder(PrivateFolder&&) = default;
  PrivateFolder& operator=(PrivateFolder&&) = default;

  // Creates `path`, whose parent must exist, and holds it. kExisted when anything
  // stands there, kFailed when it cannot be created. Only a created folder replaces
  // (and releases) the one held before.
  FolderCreation Create(const std::string& path, bool protect);
  // Lets go of the folder so that it can be removed; the folder stays where it is.
  void Release();

  bool Held() const { return handle_.Valid(); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  UniqueHandle handle_;
};

}  // namespace kvb
