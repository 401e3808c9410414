// The CE Application Manager step on the desktop: writing the description files that
// app_manager_files.h lays out, starting ActiveSync's Application Manager with them, and
// removing the staged files of a package that only installs onto devices. The caller
// (the installation engine) checks its own abort flag and reports the status first.
#pragma once

#include <string>
#include <vector>

#include "setupdata/records.h"

namespace kvb {

// Creates (or truncates) the file and writes the text; a file that cannot be written
// completely is deleted again and the result is false.
bool WriteTextFile(const std::string& path, const std::string& text);

// Starts the Application Manager with `arguments` in `working_folder`, waits until it
// is ready for input and then until it has ended, processing window messages meanwhile.
// Does nothing for empty arguments. Whether it started is returned but not reported to
// the user.
bool RunAppManager(const std::string& appmgr_path,
                   const std::string& arguments,
                   const std::string& working_folder);

// Deletes the files of the kind-1 and kind-2 items in list order, then removes the
// folders of the kind-4 items from the last to the first, so that a staged folder inside
// another goes before its parent; a folder that is not empty stays.
void RemoveStagedFiles(const std::vector<TUninstItem>& items);

}  // namespace kvb
