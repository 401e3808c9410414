// The installation's steps for handhelds, as the engine calls them: CE Application
// Manager description files and the start of the Application Manager, Palm files handed
// to HotSync users, HotSync conduit registration, and the clean-up of files that only
// staged a device installation. The device subsystem implements this interface; an
// engine without one (no device support built in) skips every device step: no
// description files, no Palm hand-over, no conduits, nothing started or cleaned up.
//
// The engine decides what is in use and expands every text before the call; the
// implementation only acts. All calls run on the user-interface thread.
#pragma once

#include <string>
#include <vector>

#include "setupdata/records.h"

namespace kvb {

// A device file group with at least one of its CAB files being installed.
struct AppManagerGroup {
  std::string Name;                   // the group's name (the main group: the software name)
  std::string Description;            // the main group: the software's comments text
  std::string Folder;                 // expanded destination folder, with a trailing backslash
  std::vector<std::string> CabFiles;  // the group's CAB file names, in package order
};

class DeviceSteps {
 public:
  virtual ~DeviceSteps() = default;

  // Writes one Application Manager description file per group, in the given order:
  // Folder + the group's name made file-safe (dots and blanks kept) + ".ini", created or
  // truncated. Only the first file written carries the "Uninstall" line (company_name,
  // a blank, the group's name); the "IconFile" line names the file part of icon_path and
  // is left out when icon_path is empty. Returns the full paths of the files written, in
  // order; a file that cannot be written is left out (the engine logs each returned path
  // as a plain file to delete with the product).
  virtual std::vector<std::string> WriteAppManagerFiles(const std::vector<AppManagerGroup>& groups,
                                                        const std::string& company_name,
                                                        const std::string& icon_path) = 0;

  // Starts the Application Manager `program` with `arguments` (the quoted description
  // files joined by blanks) in `working_folder`, waits until it is ready for input and
  // then until it ends, keeping the windows responsive. Failure to start is not reported.
  virtual void RunAppManager(const std::string& program,
                             const std::string& arguments,
                             const std::string& working_folder) = 0;

  // Hands an installed Palm file to one HotSync user (copy into the user's install
  // folder, install flag set). False when the user is unknown, HotSync is missing or the
  // copy fails; the engine ignores the result.
  virtual bool InstallForUser(const std::string& user_name, const std::string& file) = 0;

  // Registers a HotSync conduit whose texts are already expanded (any earlier
  // registration of the same creator is replaced). False on failure; the engine then
  // shows its conduit error message.
  virtual bool RegisterConduit(const THotSyncConduit& conduit) = 0;

  // Removes every removable HotSync registration of `creator` (used when an installation
  // is rolled back after its conduits were registered). False when a deletion failed.
  virtual bool RemoveConduit(const std::string& creator) = 0;

  // For packages whose desktop files only stage the device installation: deletes the
  // files of the items of kinds 1 (device file) and 2 (plain file), in list order, then
  // removes the folders of kind 4 from the last to the first, so that a folder logged
  // inside another goes before it (a folder that is not empty stays).
  virtual void RemoveStagedFiles(const std::vector<TUninstItem>& items) = 0;
};

}  // namespace kvb
