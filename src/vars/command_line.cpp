#include "vars/command_line.h"

namespace kvb {

namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> params;
  size_t i = 0;
  for (;;) {
    for (;;) {
      while (i < line.size() && IsBlank(line[i]))
        ++i;
      if (i + 1 < line.size() && line[i] == '"' && line[i + 1] == '"') {
        i += 2;
      } else {
        break;
      }
    }
    if (i >= line.size())
      return params;
    std::string param;
    bool quoted = false;
    for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
      if (line[i] == '"') {
        quoted = !quoted;
      } else {
        param += line[i];
      }
    }
    params.push_back(std::move(param));
  }
}

std::string CommandLineParameter(std::string_view line, std::string_view program_path, int index) {
  if (index == 0)
    return std::string(program_path);
  if (index < 0)
    return {};
  std::vector<std::string> params = SplitCommandLine(line);
  if (static_cast<size_t>(index) >= params.size())
    return {};
  return std::move(params[static_cast<size_t>(index)]);
}

}  // namespace kvb
