// Starting desktop programs, shared by the RUN script command and the CE Application
// Manager step.
#pragma once

#include <cstdint>
#include <string>

namespace kvb {

// Starts `program` with the command line '"program" arguments' in `working_folder` (the
// program's own folder when empty). A program named without a folder is taken from the
// system's folders only (FindSystemProgram). With `wait_idle` waits until the program is ready
// for input; with `wait_exit` until it ends, processing this thread's window messages
// meanwhile. Returns 0, or the system error code when the program could not be started.
uint32_t RunProcess(const std::string& program,
                    const std::string& arguments,
                    const std::string& working_folder,
                    bool wait_idle,
                    bool wait_exit);

}  // namespace kvb
