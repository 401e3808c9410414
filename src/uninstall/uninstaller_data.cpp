#include "uninstall/uninstaller_data.h"

#include "vars/variables.h"

namespace kvb {

void ApplyUninstallLog(const TUninstallLog& log,
                       TSetupUninstallerData& uninstaller,
                       TSetupUninstallerMsgs& msgs,
                       TSetupData& data,
                       Variables& vars) {
  data.Properties.SoftwareName = log.SoftwareName;
  data.Properties.Comments = log.Comments;
  data.Properties.CompanyName = log.CompanyName;
  uninstaller.KeepDefaultFont = log.KeepDefaultFont;
  uninstaller.Option4 = log.Option4;
  if (log.KeepDefaultFont == 0)
    data.Properties.Font = log.Font;
  vars.SoftwareName = log.SoftwareName;
  vars.CompanyName = log.CompanyName;
  msgs = log.Messages;
  uninstaller.ConnectionText = log.ConnectionText;
  uninstaller.BeforeScript = log.BeforeScript;
  uninstaller.AfterScript = log.AfterScript;
  uninstaller.SetupPath = log.SetupPath;
  uninstaller.IconPath = log.IconPath;
  uninstaller.InstalledComponents = log.InstalledComponents;
  data.Platforms = log.Platforms;
  vars.List().Clear();
  for (const std::string& line : log.Variables)
    vars.List().AddLine(line);
  data.Properties.DefaultInstallDir = vars.ExpandText("%InstallDir%");
  data.Properties.DefaultProgramGroup = vars.ExpandText("%ProgramGroup%");
  uninstaller.Items.insert(uninstaller.Items.end(), log.Items.begin(), log.Items.end());
}

}  // namespace kvb
