// `kvbpack info`: a readable summary of a setup program.
#pragma once

#include <ostream>
#include <string>

namespace kvb::pack {

// Prints the layout (sections with offsets and sizes), the software information, the
// languages, pages, components, files and archive blocks, and every script in the
// project syntax. Throws std::runtime_error when the package cannot be read.
void PrintPackageInfo(const std::string& setup_path, std::ostream& out);

}  // namespace kvb::pack
