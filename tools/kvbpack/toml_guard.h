// Checks a project text before the TOML library sees it: invalid UTF-8, a non-ASCII
// character outside strings and comments, and a non-ASCII character opening the line
// after a line-ending backslash in a multi-line string. TOML allows non-ASCII text only
// inside strings and comments, so such input is a mistake; it is reported here with its
// place and a plain message. (The same inputs used to reach undefined behaviour inside
// toml++ 3.3; the build now mends that, see toml_fixes.cmake, and this check stays for
// its clearer messages.)
#pragma once

#include <string>
#include <string_view>

namespace kvb::pack {

// Throws ProjectError (file, line, column) for text that is not UTF-8, and for the
// non-ASCII characters described above.
void CheckTomlText(std::string_view text, const std::string& file);

}  // namespace kvb::pack
