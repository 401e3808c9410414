// The parameters of a command line as the setup program numbers them for %CmdLineParam%.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvb {

// Splits a command line into its parameters; the first is the program as it was named.
// Parameters are separated by control characters and spaces; a '"' switches quoting
// on and off and is not part of the parameter; empty quote pairs between parameters
// are skipped.
std::vector<std::string> SplitCommandLine(std::string_view line);

// Parameter `index` of `line`: 0 is `program_path` (the program's full path, not the
// name it was started by), a negative or too large index gives "".
std::string CommandLineParameter(std::string_view line, std::string_view program_path, int index);

}  // namespace kvb
