// The few things kvbpack asks of the operating system: where its own program lies and
// whether an output stream is a terminal.
#pragma once

#include <cstdio>
#include <string>

namespace kvb::pack {

// The full path of the running kvbpack program; empty when the system does not tell.
std::string SelfPath();

// True when `stream` writes to a terminal (where a progress bar makes sense).
bool IsTerminal(std::FILE* stream);

}  // namespace kvb::pack
