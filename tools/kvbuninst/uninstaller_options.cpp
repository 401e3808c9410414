#include "tools/kvbuninst/uninstaller_options.h"

#include <vector>

#include "base/text.h"
#include "vars/command_line.h"

namespace kvb {
namespace {

constexpr std::string_view kCopyOfOption = "/COPYOF=";
constexpr std::string_view kResultOption = "/RESULT=";
constexpr std::string_view kOriginalOption = "/ORIGINAL=";

// A handle value given as decimal digits; 0 for anything else.
uint64_t HandleValue(std::string_view text) {
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9' || value > (UINT64_MAX - 9) / 10)
      return 0;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return value;
}

// "/X" is an option; "/folder/uninst.dat" (a path on the host) is not.
bool LooksLikeOption(const std::string& p) {
  return p.size() > 1 && p[0] == '/' && p.find_first_of("/\\.", 1) == std::string::npos;
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

}  // namespace

UninstallerOptions ParseUninstallerCommandLine(std::string_view command_line) {
  UninstallerOptions options;
  const std::vector<std::string> parameters = SplitCommandLine(command_line);
  for (size_t i = 1; i < parameters.size(); ++i) {
    const std::string& p = parameters[i];
    if (SameText(p, "/S")) {
      options.Silent = true;
    } else if (p == "/?" || SameText(p, "/H") || SameText(p, "/HELP")) {
      options.Help = true;
    } else if (StartsWithText(p, kCopyOfOption)) {
      options.CopyOf = p.substr(kCopyOfOption.size());
    } else if (StartsWithText(p, kResultOption)) {
      options.ResultPipe = HandleValue(std::string_view(p).substr(kResultOption.size()));
    } else if (StartsWithText(p, kOriginalOption)) {
      options.Original = HandleValue(std::string_view(p).substr(kOriginalOption.size()));
    } else if (LooksLikeOption(p)) {
      options.Error = "Unknown option " + p + ".";
    } else if (options.LogPath.empty()) {
      options.LogPath = p;
    } else {
      options.Error = "More than one uninstall log is named.";
    }
  }
  if (options.Error.empty() && !options.Help && options.LogPath.empty())
    options.Error = "No uninstall log is named.";
  return options;
}

std::string CopyCommandLine(const std::string& copy_path,
                            const UninstallerOptions& options,
                            const std::string& original_path,
                            uint64_t result_pipe,
                            uint64_t original_process) {
  std::string line = Quoted(copy_path) + " " + Quoted(options.LogPath);
  if (options.Silent)
    line += " /S";
  line += " " + Quoted(std::string(kCopyOfOption) + original_path);
  line += " " + std::string(kResultOption) + std::to_string(result_pipe);
  return line + " " + std::string(kOriginalOption) + std::to_string(original_process);
}

std::string UninstallerUsage() {
  return "Usage: kvbuninst.exe [/S] \"<uninstall log>\"\n\n"
         "Removes the software that the uninstall log (uninst.dat in its installation folder) "
         "describes.\n\n"
         "/S\tremove without asking and without any window; the exit code tells the result.";
}

}  // namespace kvb
