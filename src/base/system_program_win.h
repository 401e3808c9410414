// Programs named without a folder ("notepad.exe", "regsvr32"). Windows would look for
// them in the starting program's own folder and in the current folder first, which for
// a setup is a download folder; here they come from the system's folders only.
#pragma once

#include <string>

namespace kvb {

// The full path of the program `name` (".exe" added when it has no extension), looked
// for in the system folder, the Windows folder and the folders of PATH that are full
// paths, in this order. "" when it is found in none of them.
std::string FindSystemProgram(const std::string& name);

// True when `path` names no folder: no "\", "/" or ":" in it.
bool IsBareName(const std::string& path);

}  // namespace kvb
