// The CE Application Manager step on the desktop: writing the description files that
// app_manager_files.h plans, starting ActiveSync's Application Manager with them, and
// removing the staged files of a package that only installs onto devices. The caller
// (the installation engine) checks its own abort flag and reports the status first.
#pragma once

#include <string>
#include <vector>

#include "devices/app_manager_files.h"
#include "setupdata/records.h"

namespace kvb {

// Creates (or truncates) each planned file and writes its text. Returns the paths that
// were written, in plan order: each is logged as a kind-2 uninstall item and handed to
// the Application Manager. A file that cannot be written is left out.
std::vector<std::string> WriteAppManagerFiles(const std::vector<AppManagerFile>& plan);

// The Application Manager program: the ActiveSync folder + "CEAPPMGR.EXE".
std::string CeAppMgrPath(const std::string& activesync_folder);

// The Application Manager's command line for the written files; "" when the program
// does not exist or no file was written (the step then does nothing).
std::string AppManagerArgumentsFor(const std::string& appmgr_path,
                                   const std::vector<std::string>& written);

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
