// `kvbpack dump`: turns a setup program back into a project file with its files.
#pragma once

#include <string>
#include <vector>

namespace kvb::pack {

struct DumpResult {
  std::string project_file;           // the project written
  std::vector<std::string> warnings;  // what a rebuild will not reproduce
};

// Writes into `out_dir` (created when missing): "project.toml", the setup program image
// "kvbsetup.exe", the temporary files under "temp/" and the package files under
// "files/". Building the project gives the same Setup data (header, sections and the
// uncompressed content of the archives) unless a warning says otherwise. Throws
// std::runtime_error when the package cannot be read or the files cannot be written.
DumpResult DumpPackage(const std::string& setup_path, const std::string& out_dir);

}  // namespace kvb::pack
