#include "ui/controls/adv_list_items.h"

#include <algorithm>

#include "base/text.h"

namespace kvb {

int AdvListItemHeight(const ItemHeightInputs& in) {
  int picture = in.OwnerDraw && in.ShowImages && in.HasImageList ? in.ImageHeight + 2 : 0;
  if (in.ShowChecks && picture < in.CheckHeight)
    picture = in.CheckHeight + 2;
  return std::max(in.TextHeight, picture);
}

CheckState NextCheckState(CheckState state, bool allow_grayed) {
  switch (state) {
    case CheckState::kUnchecked:
      return allow_grayed ? CheckState::kGrayed : CheckState::kChecked;
    case CheckState::kChecked:
      return CheckState::kUnchecked;
    case CheckState::kGrayed:
      return CheckState::kChecked;
  }
  return CheckState::kUnchecked;
}

bool AdvListItemEnabled(bool list_enabled,
                        bool show_sizes,
                        bool show_checks,
                        uint32_t size,
                        bool item_enabled) {
  if (!show_sizes || !show_checks)
    return list_enabled;
  if (size != 0 && list_enabled)
    return true;
  return item_enabled;
}

void ApplyCheckedNames(std::vector<TAdvListItem>& items, const std::string& names) {
  const std::vector<std::string> entries = SplitText(names, "|");
  for (TAdvListItem& item : items) {
    const bool listed = std::any_of(entries.begin(), entries.end(), [&](const std::string& e) {
      return !e.empty() && SameText(e, item.Name);
    });
    item.State = listed ? CheckState::kChecked : CheckState::kUnchecked;
  }
}

std::string CheckedNames(const std::vector<TAdvListItem>& items) {
  std::vector<std::string> names;
  for (const TAdvListItem& item : items) {
    if (item.State == CheckState::kChecked)
      names.push_back(item.Name);
  }
  return JoinText(names, "|");
}

}  // namespace kvb
