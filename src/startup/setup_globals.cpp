#include "startup/setup_globals.h"

namespace kvb {

void FreeSetupData(TSetupGlobals& globals, StartupHost& host) {
  globals.Data = TSetupData{};
  for (const std::string& file : globals.TempFileList)
    host.DeleteFile(file);
  globals.TempFileList.clear();
  if (!globals.TempSetupDir.empty())
    host.RemoveFolderTree(globals.TempSetupDir);
  globals.TempSetupDir.clear();
  if (globals.Vars)
    globals.Vars->TempSetupDir.clear();
}

}  // namespace kvb
