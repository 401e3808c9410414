// Makes a dumped project give the package it came from: sets the overrides for every
// value the builder would derive differently, and names what still differs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "block_reader.h"
#include "project.h"

namespace kvb::pack {

// The archive blocks found in a package.
struct DumpedArchives {
  std::optional<BlockContents> temp;                     // section 15's block
  std::optional<BlockContents> main;                     // the main block
  std::vector<std::optional<BlockContents>> components;  // per component (span > 0)
  std::optional<uint64_t> volume_size;                   // main block in volume files
};

// `project` holds the package's records with their files extracted (sources), explicit
// dates and, for package files, their stored sizes and versions as explicit values
// where the extracted data gives others. The uninstaller may still be among the files.
// Adjusts the project so that building it gives `package`'s records; returns the
// differences that remain (each a short description), empty when the Setup data of a
// rebuild matches section for section.
std::vector<std::string> MatchPackage(Project& project,
                                      const TSetupData& package,
                                      const DumpedArchives& archives);

}  // namespace kvb::pack
