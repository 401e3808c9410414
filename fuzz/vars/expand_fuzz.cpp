// Drives the variable store with arbitrary names, values and texts. Each input line is
// one operation: "S name=value" assigns through SetVariable, "L name=value" stores the
// value unexpanded (so values may reference themselves and each other), "E text"
// expands, "G text" asks GetVariableValue, "R text|old|new" compares ReplaceAllText with
// the literal replacement. Nothing may loop, crash or grow without bound.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "vars/literal_replace.h"
#include "vars/variables.h"

namespace {

using namespace kvb;

class FixedMachine : public MachineInfo {
 public:
  std::string Folder(MachineFolder) override { return "C:\\Folder\\"; }
  std::string ShellFolder(bool all_users, ShellFolderKind) override {
    return all_users ? "C:\\All" : "C:\\User";
  }
  std::string Fact(MachineFact) override { return "%IsAdmin%"; }
  LocalClock Now() override { return {2024, 1, 2, 3, 4, 5, "%"}; }
  std::string CommandLineArgument(int index) override { return index == 1 ? "%CmdLineParam%" : ""; }
};

// Wherever replacing the first occurrence again and again ends, ReplaceAllText must give
// the same text; where it does not end, ReplaceAllText must still end within its limit.
void CheckReplace(std::string_view args) {
  const std::vector<std::string> parts = SplitText(args, "|");
  if (parts.size() != 3)
    return;
  constexpr size_t kLimit = 1 << 16;
  const std::string got = ReplaceAllText(parts[0], parts[1], parts[2], kLimit);
  const std::optional<std::string> literal =
      test::LiteralReplace(parts[0], parts[1], parts[2], 1000);
  if (literal && literal->size() <= kLimit && got != *literal)
    std::abort();
  if (got.size() > std::max(kLimit, parts[0].size()))
    std::abort();
}

std::pair<std::string_view, std::string_view> NameValue(std::string_view line) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos)
    return {line, {}};
  return {line.substr(0, eq), line.substr(eq + 1)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FixedMachine machine;
  Variables vars(&machine);
  vars.MaxExpandedLength = 1 << 16;  // the same limit logic, reached in fewer steps
  vars.SoftwareName = "S&%CompanyName%";
  vars.CompanyName = "C%SoftwareName%";
  vars.SetupTypeComponents = {"a", "b", "%SetupType%"};
  vars.Hooks.IsDirectoryVariableHook = [](std::string_view name) { return name.size() % 2 == 0; };
  vars.Hooks.HotSyncDirHook = [] { return std::string("%HotSyncDir%\\"); };
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (const std::string& line : SplitText(input, "\n")) {
    if (line.size() < 2)
      continue;
    const std::string_view body = std::string_view(line).substr(2);
    switch (line[0]) {
      case 'S': {
        const auto [name, value] = NameValue(body);
        vars.SetVariable(name, value, line[1] == 'd');
        break;
      }
      case 'L': {
        const auto [name, value] = NameValue(body);
        vars.List().SetValue(name, value);
        break;
      }
      case 'E':
        if (vars.ExpandText(body, line[1] == 'e').size() > vars.MaxExpandedLength)
          std::abort();
        break;
      case 'G':
        vars.GetVariableValue(body);
        break;
      case 'R':
        CheckReplace(body);
        break;
      default:
        break;
    }
  }
  return 0;
}
