// Packages for the format tests and the fuzzing seeds: Setup data with every section
// populated, written behind a small stand-in for the executable image.
#pragma once

#include <string>

#include "setupdata/setup_data.h"

namespace kvb::sample {

// Every section populated: two languages, a style and a page with every control kind
// (0-14 and above), scripts with small and large codes and absent scripts, every record
// type. Texts are short so that the package stays a few KiB.
TSetupData SampleData();

// The stand-in image written in front of the Setup data.
std::string SampleStub();

// A package of `data` behind SampleStub(), with a section 15 holding the given
// archive section bytes (empty: the single byte 0) and the main section bytes.
std::string PackageBytes(const TSetupData& data,
                         const std::string& temp_section = "",
                         const std::string& main_section = "",
                         bool main_in_volumes = false);

}  // namespace kvb::sample
