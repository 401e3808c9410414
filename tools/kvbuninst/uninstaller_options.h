// The uninstaller's command line:
//   kvbuninst.exe [/S] "<uninstall log>"
// /S removes without any window: no confirmation, no questions (files are removed), no
// final message, the scripts' message boxes answered with their first button; the exit
// code tells the result. /? shows the usage. Options may stand anywhere and are not case
// sensitive. The program adds /COPYOF="<program>", /RESULT=<handle> and /ORIGINAL=<handle>
// when it starts its temporary copy.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kvb {

struct UninstallerOptions {
  std::string LogPath;
  bool Silent = false;
  bool Help = false;
  // Set in the temporary copy: the program it was copied from (deleted at the end when no
  // other product's uninstall command names it).
  std::string CopyOf;
  // In the copy: the inherited handles of the pipe that takes the exit code to the
  // original, and of the original process (to wait for its end). 0 when not given.
  uint64_t ResultPipe = 0;
  uint64_t Original = 0;
  // Not empty when the command line cannot be used: what is wrong with it.
  std::string Error;
};

UninstallerOptions ParseUninstallerCommandLine(std::string_view command_line);

// The command line of the temporary copy: the options of `options` and the copy's own.
std::string CopyCommandLine(const std::string& copy_path,
                            const UninstallerOptions& options,
                            const std::string& original_path,
                            uint64_t result_pipe,
                            uint64_t original_process);

// The usage text shown for /? and for a command line that cannot be used.
std::string UninstallerUsage();

}  // namespace kvb
