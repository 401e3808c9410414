// Turns a project into a build plan: the complete Setup data (every derived value
// computed unless the project gives it) and the archive blocks with the files to put
// into them. Only the absolute offsets of the component blocks are left for the layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "project.h"

namespace kvb::pack {

struct PlannedEntry {
  int32_t index = 0;
  uint32_t date = 0;
  std::string path;  // the file on disk
  uint64_t size = 0;
};

struct PlannedBlock {
  std::string message;
  std::vector<PlannedEntry> entries;
  int component = -1;  // index in data.Components; -1 for the main and temporary blocks
  uint64_t TotalSize() const;
};

struct PackagePlan {
  TSetupData data;
  bool temp_archive = false;  // section 15 holds a block
  PlannedBlock temp_block;
  bool main_archive = true;  // section 16 (or the volume files) holds the main block
  PlannedBlock main_block;
  std::vector<PlannedBlock> component_blocks;  // components with a positive span, in order
  std::optional<uint64_t> volume_size;         // the main block goes into volume files
};

struct ResolveOptions {
  // The uninstaller program named on the command line; replaces the project's.
  std::string uninstaller;
  // Used when the project asks for an uninstaller without naming its program.
  std::string default_uninstaller;
  // Replaces the project's volume size when set (the command line's --volume-size).
  std::optional<uint64_t> volume_size;
};

// Resolves a project: reads sizes, dates and versions of the source files, numbers
// the archive entries, places files into blocks, computes the folder lists and the
// progress ranges. Throws ProjectError listing every problem (missing source files,
// entry numbers used twice for different data, unknown components ...).
PackagePlan ResolveProject(const Project& project, const ResolveOptions& options = {});

// The record the builder adds for the package's uninstaller (without its entry data).
TSetupFile UninstallerRecord();

// The component (index into `components`) whose archive block holds a file's data: the
// first component of its list that exists; -1 for the main block, and always with volume
// files, since the setup program reads no component blocks from volumes.
int DeriveBlock(const TSetupFile& file,
                const std::vector<TInstallerComponent>& components,
                bool volumes);

// The folder lists the builder derives from destination folders: each folder without
// its trailing backslash, preceded by its parents that are themselves below a root
// ("%InstallDir%\A\B\" gives "%InstallDir%\A" and "%InstallDir%\A\B"), each once.
std::vector<std::string> DeriveFolders(const std::vector<std::string>& dest_dirs);

// The file folder list: DeriveFolders, and in front of a folder's entries "%Var%\\" for
// the variable that roots it ("%MyDir%\\bin\\" gives "%MyDir%\\" and "%MyDir%\\bin"). The
// setup program takes a variable as a folder variable, whose value loses its trailing
// backslash in expansion, only when such an entry names it.
std::vector<std::string> DeriveFileFolders(const std::vector<std::string>& dest_dirs);

// Progress spans of the blocks on a scale of 100, in proportion to their sizes; every
// block with entries gets at least 1, blocks without entries 0. `weights[i]` is the
// number of bytes of block i, or nullopt when it has no entries.
std::vector<uint32_t> DeriveSpans(const std::vector<std::optional<uint64_t>>& weights);

}  // namespace kvb::pack
