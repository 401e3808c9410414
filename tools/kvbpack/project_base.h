// Projects built on other projects: a project whose first key is `extends = "base.toml"`
// takes everything of the base project and changes or adds to it. Used for variants of
// a package (the same pages and files with a background window, another language ...)
// without copying the base project.
#pragma once

#include <string>
#include <string_view>

#include "toml_tree.h"

namespace kvb::pack {

// Parses a project's text and, when it extends a base project (a path relative to
// `base_dir`), merges it over the base's tree (which may extend another one in turn):
// a table merges key by key; an array of tables ([[...]]) gets the project's tables
// appended to the base's; any other value replaces the base's. The result has no
// `extends` key. Throws ProjectError for invalid TOML, a base that cannot be read, an
// `extends` that is not a string, and a chain of bases that comes back on itself.
TomlNode ReadProjectTree(std::string_view text, const std::string& file, const std::string& base_dir);

}  // namespace kvb::pack
