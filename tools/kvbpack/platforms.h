// The ten Windows CE platforms that packages usually carry in their platform table, so
// that a project can name them instead of spelling out masks and versions.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "setupdata/records.h"

namespace kvb::pack {

// "HPC", "HPC2000", "PSPC", "BE300", "PPC3", "SP2002", "SP2003", "WCENET", "PPC2002",
// "PPC", in that order.
const std::vector<TSetupPlatform>& KnownPlatforms();

// The known platform of that name (exact case), or nullopt.
std::optional<TSetupPlatform> FindKnownPlatform(std::string_view name);

}  // namespace kvb::pack
