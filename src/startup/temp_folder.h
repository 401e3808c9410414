// The run's private temporary folder: "kvb001", "kvb002" ... in the system's temporary
// folder, the first one that this run creates itself.
#pragma once

#include <string>

#include "startup/startup_host.h"

namespace kvb {

// The search gives up after this many candidates ("kvb001" to "kvb9999"): a temporary
// folder in which none of them can be created is full of leftovers or not writable.
inline constexpr int kMaxTempFolderCandidates = 9999;

// Candidate `number` (from 1): the temporary folder with a trailing backslash, "kvb"
// and the number in decimal, padded with zeros to three digits.
std::string TempFolderCandidate(const std::string& temp_folder, int number);

// Creates the first candidate that does not exist yet (with missing parents) and
// returns its path. Candidates that exist, or that cannot be created for another
// reason, are skipped; "" when the bound is reached without success or the system
// names no temporary folder.
std::string CreateTempSetupFolder(StartupHost& host);

}  // namespace kvb
