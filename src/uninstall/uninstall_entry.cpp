#include "uninstall/uninstall_entry.h"

#include "vars/command_line.h"

namespace kvb {

std::string UninstallEntryKey(std::string_view software_name, std::string_view company_name) {
  std::string key = kUninstallRootKey;
  key += '\\';
  key += company_name;
  key += ' ';
  key += software_name;
  return key;
}

bool FindUninstallEntry(RemovalMachine& machine,
                        std::string_view software_name,
                        std::string_view company_name) {
  return machine.ValueExists(RegRoot::kLocalMachine, UninstallEntryKey(software_name, company_name),
                             "DisplayVersion");
}

std::string GetUninstallLogPath(RemovalMachine& machine,
                                std::string_view software_name,
                                std::string_view company_name) {
  const std::optional<std::string> command = machine.ReadString(
      RegRoot::kLocalMachine, UninstallEntryKey(software_name, company_name), "UninstallString");
  if (!command)
    return {};
  const std::vector<std::string> parameters = SplitCommandLine(*command);
  return parameters.size() > 1 ? parameters[1] : std::string();
}

}  // namespace kvb
