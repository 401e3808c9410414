#include "project.h"

#include "setupdata/default_messages.h"

namespace kvb::pack {

TSetupFile DefaultPackageFile() {
  TSetupFile f;
  f.DestDir = "%InstallDir%\\";
  f.OverwriteMode = 8;
  f.ExtraFlag1 = 1;
  return f;
}

TSetupFile DefaultTempFile() {
  TSetupFile f;
  f.DestDir = "%TempSetupDir%\\";
  f.OverwriteMode = 6;
  f.ExtraFlag1 = 1;
  return f;
}

TFontRecord DefaultFont() {
  // The window-text system colour, so that text follows the user's colour scheme.
  return TFontRecord{"MS Sans Serif", 8, 0x80000008, 0, 1};
}

TSetupShortcut DefaultShortcut() {
  TSetupShortcut s;
  s.Folder = "%ProgramGroupDir%\\";
  s.ShowCmd = 1;
  return s;
}

TSetupData DefaultSetupData() {
  TSetupData d;
  d.Properties.Font = DefaultFont();
  d.LanguageLessMessages = DefaultMessages(-1);
  return d;
}

}  // namespace kvb::pack
