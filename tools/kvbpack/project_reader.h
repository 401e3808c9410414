// Reads a project file (TOML) into a Project. See project_format.md for the keys.
#pragma once

#include <string>
#include <string_view>

#include "project.h"

namespace kvb::pack {

// Reads the project at `path`; relative source paths start at its folder. Throws
// ProjectError listing every mistake found, each with file, line and column.
Project ReadProject(const std::string& path);

// The same for project text already in memory. `file` names it in messages.
Project ReadProjectText(std::string_view text,
                        const std::string& file,
                        const std::string& base_dir);

}  // namespace kvb::pack
