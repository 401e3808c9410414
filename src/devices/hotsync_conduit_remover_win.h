// Removal of HotSync conduit registrations for the removal of a product: by kvbuninst
// and by a setup run's own removals (a maintenance run, a script removing a product).
#pragma once

#include <string>

#include "devices/hotsync_win.h"
#include "uninstall/removal_machine.h"

namespace kvb {

class HotSyncConduitRemover final : public ConduitRemover {
 public:
  // HotSync is looked up again for every removal: without it there is no registration
  // left to remove, and that counts as removed.
  bool RemoveConduit(const std::string& creator) override {
    return !hotsync_.DetectHotSync() || hotsync_.RemoveConduit(creator);
  }

 private:
  THotSync hotsync_;
};

}  // namespace kvb
