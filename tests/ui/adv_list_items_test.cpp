#include "ui/controls/adv_list_items.h"

#include <gtest/gtest.h>

namespace kvb {
namespace {

TEST(AdvListItemsTest, ItemHeight) {
  struct Case {
    ItemHeightInputs in;
    int expected;
  } cases[] = {
      // Text alone.
      {{13, 16, 13, false, true, true, false}, 13},
      // Pictures count only with owner drawing, pictures shown and an image list.
      {{13, 16, 13, true, true, true, false}, 18},
      {{13, 16, 13, true, false, true, false}, 13},
      {{13, 16, 13, true, true, false, false}, 13},
      // Check boxes: their height + 2 replaces a smaller picture height.
      {{8, 0, 13, true, false, false, true}, 15},
      {{8, 10, 13, true, true, true, true}, 15},
      // A picture at least as high as the check box keeps its own height + 2.
      {{8, 16, 13, true, true, true, true}, 18},
      // A large font wins.
      {{24, 16, 13, true, true, true, true}, 24},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AdvListItemHeight(c.in), c.expected) << &c - cases;
}

TEST(AdvListItemsTest, ToggleOrder) {
  EXPECT_EQ(NextCheckState(CheckState::kUnchecked, false), CheckState::kChecked);
  EXPECT_EQ(NextCheckState(CheckState::kUnchecked, true), CheckState::kGrayed);
  EXPECT_EQ(NextCheckState(CheckState::kChecked, true), CheckState::kUnchecked);
  EXPECT_EQ(NextCheckState(CheckState::kGrayed, false), CheckState::kChecked);
}

TEST(AdvListItemsTest, EnabledRule) {
  struct Case {
    bool list_enabled, show_sizes, show_checks;
    uint32_t size;
    bool item_enabled, expected;
  } cases[] = {
      // Without sizes and checks both shown, items follow the list.
      {true, false, true, 0, false, true},
      {false, true, false, 100, true, false},
      // With both: a non-zero size follows the list...
      {true, true, true, 100, false, true},
      // ...a zero size (or a disabled list) falls back to the item's own flag.
      {true, true, true, 0, false, false},
      {true, true, true, 0, true, true},
      {false, true, true, 100, true, true},
      {false, true, true, 100, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        AdvListItemEnabled(c.list_enabled, c.show_sizes, c.show_checks, c.size, c.item_enabled),
        c.expected)
        << &c - cases;
  }
}

TEST(AdvListItemsTest, CheckedNamesRoundTrip) {
  std::vector<TAdvListItem> items(4);
  items[0].Name = "Program";
  items[1].Name = "Help";
  items[2].Name = "Samples";
  items[3].Name = "";
  items[1].State = CheckState::kGrayed;
  ApplyCheckedNames(items, "samples||PROGRAM|Missing");
  EXPECT_EQ(items[0].State, CheckState::kChecked);
  EXPECT_EQ(items[1].State, CheckState::kUnchecked) << "not listed: cleared, grayed too";
  EXPECT_EQ(items[2].State, CheckState::kChecked);
  EXPECT_EQ(items[3].State, CheckState::kUnchecked) << "an empty entry names no item";
  EXPECT_EQ(CheckedNames(items), "Program|Samples") << "item order, stored spelling";
  ApplyCheckedNames(items, "");
  EXPECT_EQ(CheckedNames(items), "");
}

}  // namespace
}  // namespace kvb
