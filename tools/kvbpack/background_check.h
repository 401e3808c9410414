// The background window's pictures are read from the run's temporary folder; a picture
// the package does not extract there is silently left out at run time, so the build
// warns about it.
#pragma once

#include <string>
#include <vector>

#include "setupdata/setup_data.h"

namespace kvb::pack {

// One warning for each picture of the background window (the background bitmap and
// the picture items) that no temporary file extracted into %TempSetupDir% provides;
// none when the package does not use the background window.
std::vector<std::string> MissingBackgroundPictures(const TSetupData& data);

}  // namespace kvb::pack
