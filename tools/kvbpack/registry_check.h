// Whether the data of a registry change is what its value type can store.
#pragma once

#include <string>

#include "setupdata/records.h"

namespace kvb::pack {

// Empty when the data fits the type, else what is wrong. Data holding variables is
// checked by the setup when it has been expanded, not here. The setup would write 0 for an
// integer without digits and a 0 byte for every binary token that is not hexadecimal.
std::string RegistryDataProblem(const TSetupRegChange& change);

}  // namespace kvb::pack
