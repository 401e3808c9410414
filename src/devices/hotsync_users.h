// The HotSync users found on this desktop, as the script commands read them. The HotSync
// state filled by the HotSync detection (`THotSync`, hotsync_win.h) implements this
// interface; without it the commands see no users.
#pragma once

#include <string>

namespace kvb {

class HotSyncUsers {
 public:
  virtual ~HotSyncUsers() = default;
  virtual int UserCount() const = 0;
  // Empty for an index outside 0..UserCount()-1.
  virtual std::string UserName(int index) const = 0;
};

}  // namespace kvb
