// The item rules of the advanced list box, free of windows so that they are tested on
// the host: item objects, the item height, the enabled rule, the check toggle and the
// check marks read from and written as a `|` list of names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvb {

enum class CheckState : uint8_t { kUnchecked = 0, kChecked = 1, kGrayed = 2 };

// The object behind one item of a TAdvPSListBox.
struct TAdvListItem {
  CheckState State = CheckState::kUnchecked;
  int PictureIndex = -1;  // -1: no picture
  uint32_t Size = 0;      // bytes
  bool Enabled = true;
  std::string Name;
  bool Locked = false;  // no state changes
};

struct ItemHeightInputs {
  int TextHeight = 0;   // height of "Wg" in the list's font
  int ImageHeight = 0;  // of the image list's pictures
  int CheckHeight = 0;  // of the check box
  bool OwnerDraw = false;
  bool ShowImages = false;
  bool HasImageList = false;
  bool ShowChecks = false;
};

// The larger of the text height and P, where P is the image height + 2 with owner
// drawing, pictures shown and an image list (else 0), replaced by the check box height
// + 2 when check boxes are shown and P is smaller than the check box height.
int AdvListItemHeight(const ItemHeightInputs& in);

// The state a user's toggle leads to: unchecked -> checked (grayed when grayed states
// are allowed), checked -> unchecked, grayed -> checked.
CheckState NextCheckState(CheckState state, bool allow_grayed);

// Whether an item is enabled. Without sizes and check boxes both shown, it follows the
// list. Otherwise it is enabled when its size (`size`: the item-size query's answer, or
// the stored size) is non-zero and the list is enabled, else when its own flag is set: a
// disabled list keeps an item with its flag set enabled.
bool AdvListItemEnabled(bool list_enabled,
                        bool show_sizes,
                        bool show_checks,
                        uint32_t size,
                        bool item_enabled);

// Sets every item checked whose name is an entry of the `|` list (case-insensitive),
// every other item unchecked.
void ApplyCheckedNames(std::vector<TAdvListItem>& items, const std::string& names);
// The names of the checked items in item order, as a `|` list ("" when none).
std::string CheckedNames(const std::vector<TAdvListItem>& items);

}  // namespace kvb
