// Packages for the start-up tests: a small product with the default messages, scripts
// written by command name, temporary files with their archive, and ways to damage it.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "script/script_builder.h"
#include "setupdata/setup_data.h"

namespace kvb::test {

struct TempFileSpec {
  std::string name;
  std::string content;
  std::string dest_dir = "%TempSetupDir%\\";
  int entry = -1;  // the record's entry index; -1: the file's position in the archive
};

struct TestPackage {
  // "Demo" by "Acme", title "%SoftwareName% Setup", the default messages, no scripts.
  TestPackage();

  TSetupData data;
  std::vector<TempFileSpec> temp_files;  // records and archive entries, in this order
  // Section 15 as stored, instead of the one made from temp_files.
  std::optional<std::string> temp_section;
  // The executable image in front of the package.
  std::string image = std::string(64, 'S');

  // The package behind the image.
  std::string Bytes() const;
};

// A file a test can load as a splash: starts with "BM".
inline constexpr char kBitmapBytes[] = "BM fake bitmap";

// The package with section `index`'s offset moved beyond the end of the file.
std::string WithSectionOutsideFile(std::string package, int index);

}  // namespace kvb::test
