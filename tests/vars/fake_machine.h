// A machine with fixed facts for the host tests of the expansion.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "vars/machine_info.h"

namespace kvb {

class FakeMachine : public MachineInfo {
 public:
  std::map<MachineFolder, std::string> folders;
  std::map<MachineFact, std::string> facts;
  std::string shell[2][kShellFolderKindCount];  // [all users][kind]
  LocalClock clock;
  std::vector<std::string> args;
  int fact_queries = 0;

  std::string Folder(MachineFolder folder) override { return folders[folder]; }
  std::string ShellFolder(bool all_users, ShellFolderKind kind) override {
    return shell[all_users ? 1 : 0][static_cast<int>(kind)];
  }
  std::string Fact(MachineFact fact) override {
    ++fact_queries;
    return facts[fact];
  }
  LocalClock Now() override { return clock; }
  std::string CommandLineArgument(int index) override {
    return index >= 0 && static_cast<size_t>(index) < args.size() ? args[index] : "";
  }
};

}  // namespace kvb
