// Writes a Project as a project file (TOML) that the project reader turns back into the
// same Project. Values equal to the reader's defaults are left out, so the file holds
// only what the project says.
#pragma once

#include <string>

#include "project.h"

namespace kvb::pack {

std::string WriteProjectText(const Project& project);

}  // namespace kvb::pack
