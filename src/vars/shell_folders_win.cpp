// Shell folders: per-user and all-users folders by kind, each looked up once.
#include <shlobj.h>
#include <windows.h>

#include "base/text.h"
#include "vars/windows_machine_win.h"

namespace kvb {

namespace {

// CSIDLs per kind: [0] per user, [1] all users.
constexpr int kCsidl[2][kShellFolderKindCount] = {
    {CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_SENDTO,
     CSIDL_FONTS, CSIDL_TEMPLATES, CSIDL_FAVORITES},
    {CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_PROGRAMS,
     CSIDL_COMMON_STARTUP, CSIDL_SENDTO, CSIDL_FONTS, CSIDL_COMMON_TEMPLATES,
     CSIDL_COMMON_FAVORITES},
};

bool IsDriveRoot(const std::string& path) {
  return path.size() == 3 && path[1] == ':' && path[2] == '\\';
}

std::string QueryShellFolder(int csidl) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items)
    return {};
  char path[MAX_PATH + 1] = {};
  const BOOL found = SHGetPathFromIDListA(items, path);
  CoTaskMemFree(items);  // the shell's allocator
  if (!found)
    return {};
  const std::string folder = path;
  return IsDriveRoot(folder) ? folder : ExcludeTrailingBackslash(folder);
}

}  // namespace

std::string WindowsMachine::ComputeShellFolder(bool all_users, ShellFolderKind kind) {
  std::optional<std::string>& cached = shell_folders_[all_users ? 1 : 0][static_cast<size_t>(kind)];
  if (!cached)
    cached = QueryShellFolder(kCsidl[all_users ? 1 : 0][static_cast<size_t>(kind)]);
  return *cached;
}

std::string WindowsMachine::GetShellFolder(bool all_users, ShellFolderKind kind) {
  if (static_cast<size_t>(kind) >= kShellFolderKindCount)
    return {};
  if (!is_admin_)
    all_users = false;
  std::string folder = ComputeShellFolder(all_users, kind);
  if (all_users && folder.empty())
    folder = ComputeShellFolder(false, kind);
  return folder;
}

}  // namespace kvb
