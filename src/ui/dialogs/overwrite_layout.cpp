#include "ui/dialogs/overwrite_layout.h"

namespace kvb {

OverwriteLayout OverwritePromptLayout(int mode, bool has_icon, bool four_buttons) {
  OverwriteLayout layout;
  if (mode == kFileInfoExisting || mode == kFileInfoBoth) {
    const bool both = mode == kFileInfoBoth;
    layout.ButtonTop = both ? 231 : 139;
    layout.FormHeight = both ? 296 : 204;
    layout.ExistingRow = true;
    layout.DestinationRow = both;
    layout.Pictures = has_icon;
    if (!has_icon) {
      layout.FileLabelLeft = 76;
      layout.FileLabelWidth = 329;
    }
  }
  if (four_buttons) {
    layout.ButtonLeft = {51, 131, 211, 291, 331};
    layout.CancelButton = false;
  }
  return layout;
}

}  // namespace kvb
