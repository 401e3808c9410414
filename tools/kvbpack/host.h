// The few things kvbpack asks of the operating system: where its own program lies,
// whether an output stream is a terminal, and running another program (the signing
// tool).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace kvb::pack {

// The full path of the running kvbpack program; empty when the system does not tell.
std::string SelfPath();

// True when `stream` writes to a terminal (where a progress bar makes sense).
bool IsTerminal(std::FILE* stream);

struct ProgramRun {
  bool started = false;  // false: the program was not found or could not be started
  int exit_code = -1;
  std::string output;  // its standard output and standard error, as they came
};

// Runs args[0] (looked up on the PATH) with the other arguments, hands it `input` on its
// standard input (then closed) and waits for it to end. Nothing goes through a shell.
ProgramRun RunProgram(const std::vector<std::string>& args, const std::string& input);

// The name under which a program started by RunProgram opens its standard input as a
// file.
std::string StandardInputName();

}  // namespace kvb::pack
