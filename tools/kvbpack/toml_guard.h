// Checks a project text before the TOML library sees it. The library (toml++ 3.3)
// reaches undefined behaviour on a few inputs: a non-ASCII character where whitespace
// may stand, and a non-ASCII character opening the line after a line-ending backslash
// in a multi-line string. TOML allows non-ASCII text only inside strings and comments,
// so such input is a mistake anyway; it is reported here with its place instead.
#pragma once

#include <string>
#include <string_view>

namespace kvb::pack {

// Throws ProjectError (file, line, column) for text that is not UTF-8, and for the
// non-ASCII characters described above.
void CheckTomlText(std::string_view text, const std::string& file);

}  // namespace kvb::pack
