// `kvbpack build`: writes a setup program from a project.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "project.h"

namespace kvb::pack {

struct BuildOptions {
  std::string output;                   // the setup program to write
  std::string stub;                     // setup program image; empty = the project's
  std::optional<uint64_t> volume_size;  // replaces the project's volume size
  unsigned jobs = 0;                    // compression threads; 0 = one per core
  std::string default_uninstaller;      // kvbuninst.exe found next to the stub or kvbpack
  // Progress of the compression: bytes done and the total of all archives.
  std::function<void(uint64_t done, uint64_t total)> on_progress;
};

struct BuildResult {
  uint64_t size = 0;                  // bytes of the setup program
  uint32_t volumes = 0;               // volume files written beside it
  bool signed_setup = false;          // signed as the project's [signing] table says
  std::vector<std::string> warnings;  // what the user should know about the result
};

// Builds the package, and signs it when the project has a [signing] table. A signed
// program image (stub) loses its signature: only the whole setup can be signed. The
// same project and files give the same bytes (before signing). On failure
// (ProjectError for mistakes in the project, std::exception for others) nothing is left
// at the output path or its volume names; an existing file there stays unchanged.
BuildResult BuildPackage(const Project& project, const BuildOptions& options);

}  // namespace kvb::pack
