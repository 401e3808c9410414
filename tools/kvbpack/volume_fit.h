// Finds the volume size a split archive was written with, so that a rebuild splits it
// at the same places. The archive writer breaks a volume where the next piece (or the
// end of an entry), with room for a break record, no longer fits; every piece it placed
// and every break it made bounds the size from below or above.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvb::pack {

// The smallest volume size with which the archive writer produces exactly these volume
// files (in order); nullopt when they cannot be read as one block or no size gives
// their splits.
std::optional<uint64_t> FitVolumeSize(const std::vector<std::string>& volume_paths);

}  // namespace kvb::pack
