// kvbdriver: drives the windows of a program running beside it (under Wine in the
// end-to-end tests). Usage:
//   kvbdriver [-t MS] [-s] [-f SCRIPT | -f -] [STEP ...]
// -t sets the default time-out of every wait, -s makes `screenshot` wait for a line on
// standard input, -f reads steps from a file (one per line; "-" is standard input), and
// every other argument is one step. The exit status is a DriverStatus.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/driver/driver_win.h"

namespace {

using kvb::driver::DriverOptions;
using kvb::driver::Step;

bool ReadWhole(const std::string& path, std::string& text) {
  FILE* file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
  if (!file)
    return false;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
    text.append(buffer, got);
  if (file != stdin)
    std::fclose(file);
  return true;
}

// Fills the options and the steps from the arguments, in argument order.
void ParseArguments(int argc, char** argv, DriverOptions& options, std::vector<Step>& steps) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "-t" || arg == "-f") && i + 1 >= argc)
      throw kvb::driver::StepError(arg + " needs a value");
    if (arg == "-t") {
      options.timeout_ms = static_cast<DWORD>(kvb::driver::ParseNumber(argv[++i], Step{}));
    } else if (arg == "-s") {
      options.screenshot_handshake = true;
    } else if (arg == "-f") {
      std::string text;
      const std::string path = argv[++i];
      if (!ReadWhole(path, text))
        throw kvb::driver::StepError("cannot read " + path);
      for (Step& step : kvb::driver::ParseScript(text))
        steps.push_back(std::move(step));
    } else if (auto step = kvb::driver::ParseStep(arg, i)) {
      steps.push_back(std::move(*step));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  DriverOptions options;
  std::vector<Step> steps;
  try {
    ParseArguments(argc, argv, options, steps);
  } catch (const kvb::driver::StepError& error) {
    std::fprintf(stderr, "kvbdriver: %s\n", error.what());
    return kvb::driver::kStatusScriptError;
  }
  kvb::driver::TDriver driver(options);
  try {
    return driver.Run(steps);
  } catch (const kvb::driver::StepError& error) {
    std::fprintf(stderr, "kvbdriver: %s\n", error.what());
    return kvb::driver::kStatusScriptError;
  }
}
