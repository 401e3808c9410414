// The removal's process-wide data: the uninstall scripts, the installed items and what
// a removal left behind, filled from the package at start-up and from an uninstall log
// when one is read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setupdata/records.h"
#include "setupdata/setup_data.h"
#include "uninstall/uninstall_log.h"

namespace kvb {

class Variables;

struct TSetupUninstallerData {
  TScript BeforeScript;                 // script slot 5, replaced by a log's copy
  TScript AfterScript;                  // script slot 6, replaced likewise
  std::vector<TUninstItem> Items;       // the installed items, in log order
  std::vector<std::string> NotRemoved;  // items the last removal left in place
  std::string InstalledComponents;      // selection of the installation the log describes
  std::string SetupPath;                // the setup program that installed it
  std::string IconPath;                 // its program icon
  std::string ConnectionText;           // the CE connection text of that installation
  uint8_t KeepDefaultFont = 0;
  uint8_t Option4 = 0;
};

// Takes a log that has been read into the run: the product names, comments and (unless
// the log keeps the default font) the font of `data`, its platform table, and the
// process-wide names in `vars`; the texts into `msgs`; scripts, paths and the installed
// selection into `uninstaller`; the variable store is cleared and refilled from the log's
// lines; the default installation folder and program group become the expansions of
// "%InstallDir%" and "%ProgramGroup%". The log's items are appended to
// `uninstaller.Items`, which is not emptied first.
void ApplyUninstallLog(const TUninstallLog& log,
                       TSetupUninstallerData& uninstaller,
                       TSetupUninstallerMsgs& msgs,
                       TSetupData& data,
                       Variables& vars);

}  // namespace kvb
