// The command line of kvbpack: build, dump and info.
#pragma once

namespace kvb::pack {

// Runs kvbpack with the program's arguments; returns the process exit code (0 success,
// 1 a failed command, 2 a wrong command line). Messages go to stdout and stderr.
int RunCommandLine(int argc, char** argv);

}  // namespace kvb::pack
