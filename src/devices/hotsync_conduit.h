// The registry values that register a HotSync conduit, worked out as data so that the
// registration (hotsync_win.h) only writes them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "setupdata/records.h"

namespace kvb {

// The Palm creator ID: the first four characters, the first in the most significant
// byte; a shorter text leaves the low bytes 0.
uint32_t CreatorNumber(std::string_view creator);

// "Application" for an application conduit (kind 0), "Component" for a component.
std::string ConduitKeyPrefix(uint8_t kind);

struct ConduitValue {
  std::string Name;
  bool IsInteger = false;
  uint32_t Number = 0;  // when IsInteger
  std::string Text;     // otherwise
};

// The values of a conduit's key, in the order they are written. `expand` expands the
// conduit's texts through the variables; empty optional texts are left out.
std::vector<ConduitValue> ConduitValues(
    const THotSyncConduit& conduit,
    const std::function<std::string(const std::string&)>& expand);

}  // namespace kvb
