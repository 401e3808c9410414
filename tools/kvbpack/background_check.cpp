#include "background_check.h"

#include "base/text.h"

namespace kvb::pack {

namespace {

bool Extracted(const TSetupData& data, const std::string& name) {
  for (const TSetupInstallerFile& t : data.TempFiles) {
    if (SameText(t.File.SourceName, name) && SameText(t.File.DestDir, "%TempSetupDir%\\"))
      return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> MissingBackgroundPictures(const TSetupData& data) {
  std::vector<std::string> warnings;
  if (!data.StartupOptions[kUseBackWindow])
    return warnings;
  const std::string& back = data.Properties.BackBitmap;
  if (!back.empty() && !Extracted(data, back)) {
    warnings.push_back("the background bitmap \"" + back +
                       "\" is not among the temporary files: the background window shows its "
                       "colours instead");
  }
  for (const TSetupBackItem& item : data.BackItems) {
    if (item.Kind != 0 && !item.PictureFile.empty() && !Extracted(data, item.PictureFile)) {
      warnings.push_back("the background item picture \"" + item.PictureFile +
                         "\" is not among the temporary files: the background window leaves it "
                         "out");
    }
  }
  return warnings;
}

}  // namespace kvb::pack
