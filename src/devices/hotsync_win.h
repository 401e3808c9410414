// `THotSync`: the Palm HotSync Manager installed on this desktop, found in the current
// user's registry and its "users.dat": the users, handing files to a user's install
// folder, and the registration of conduits.
#pragma once

#include <functional>
#include <string>

#include "devices/hotsync_users.h"
#include "devices/hotsync_users_file.h"
#include "setupdata/records.h"

namespace kvb {

class THotSync final : public HotSyncUsers {
 public:
  // Finds the registry base ("Software\U.S. Robotics\", else "Software\Palm Computing\"
  // under HKEY_CURRENT_USER), the last user, the data and program folders, and reads
  // the users from "users.dat" in the data folder when it is there. False without
  // HotSync; the state is cleared first either way.
  bool DetectHotSync();
  void ReleaseHotSync();

  bool Found() const { return found_; }
  int UserCount() const override { return static_cast<int>(users_.size()); }
  std::string UserName(int index) const override;  // "" out of range
  std::string UserFolder(int index) const;         // "" out of range
  int UserNumber(int index) const;                 // 0 out of range
  int FindUser(const std::string& name) const;     // case-insensitive; -1 when missing
  // The user of the last HotSync when listed, else the first user; "" without users.
  std::string CurrentUserName() const;
  // The folder of the HotSync program, with a trailing backslash.
  const std::string& HotSyncFolder() const { return hotsync_folder_; }
  const std::string& CorePath() const { return core_path_; }

  // Copies the file into the user's "Install" folder (created when needed, an older
  // copy replaced) and flags the user for installation at the next HotSync. False for
  // an unknown user, a failed copy, or a missing HotSync Manager key.
  bool InstallForUser(const std::string& user_name, const std::string& file_path);

  // Replaces any registration of the conduit's creator, then registers the conduit
  // under the lowest free "Application<n>" or "Component<n>" key. `expand` expands the
  // conduit's texts through the variables.
  bool RegisterConduit(const THotSyncConduit& conduit,
                       const std::function<std::string(const std::string&)>& expand);
  // Removes the first key of each kind registered for the creator, looking at every
  // numbered key; true when every deletion succeeded (nothing registered is success).
  bool RemoveConduit(const std::string& creator);

 private:
  bool FindBase();
  std::string Key(const std::string& below) const { return base_ + below; }
  bool RemoveConduitOfKind(const std::string& prefix, uint32_t creator);  // "Application"...

  bool found_ = false;
  std::string base_;  // with a trailing backslash
  std::string core_path_;
  std::string hotsync_folder_;
  std::string last_user_name_;
  std::vector<HotSyncUser> users_;
  int current_user_ = 0;
};

}  // namespace kvb
