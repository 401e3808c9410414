// The English message texts that the builder stores when a package does not give its
// own.
#pragma once

#include <array>
#include <string_view>

#include "setupdata/records.h"

namespace kvb {

const std::array<std::string_view, kMessageCount>& DefaultMessageTexts();

// A table holding the default texts, with the given language identifier.
TSetupMessage DefaultMessages(int32_t language_id = -1);

}  // namespace kvb
