// A program that must remove its own file (the uninstaller) runs from a copy of itself.
// The copy is placed where nothing can be planted beside it and nothing can be swapped
// before it starts: a new private folder of the temporary folder, holding only the copy.
#pragma once

#include <optional>
#include <string>

#include "base/private_folder_win.h"
#include "base/unique_handle_win.h"

namespace kvb {

// The copy's folder is "kvbu001", "kvbu002" ... of the temporary folder.
inline constexpr int kMaxSelfCopyFolders = 999;

struct SelfCopy {
  PrivateFolder Folder;  // held by the starting program until it ends
  std::string Program;   // the copy's full path
  UniqueHandle Process;  // the started copy
};

// Copies the running program into a new PrivateFolder of `temp_folder` (protected when
// the process runs elevated) and starts the copy by its full path, with `arguments`
// behind its quoted path, its own folder as current folder, and, where the system has
// it, the loader told to prefer the system folder for every DLL. The copy restricts its
// DLL search first thing, as every program of ours does. nullopt when no folder could be
// made or the copy could not be written or started; nothing is left behind then.
std::optional<SelfCopy> StartSelfCopy(const std::string& temp_folder, const std::string& arguments);

}  // namespace kvb
