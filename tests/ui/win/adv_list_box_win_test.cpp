// TAdvPSListBox in a window: item height, the user's toggles with their rules and
// events, the enabled rule with the size query, forced unchecking, check marks as names,
// and how disabled items look.
#include <gtest/gtest.h>

#include "ui/base/graphics_win.h"
#include "ui/controls/adv_list_box_win.h"
#include "ui/controls/control_bitmaps_win.h"
#include "ui/controls/image_list_win.h"
#include "ui/controls/visual_styles_win.h"
#include "ui_test_support_win.h"

namespace kvb {
namespace {

using test::HostForm;

// A list as the components list uses it: owner drawn, check boxes, sizes, pictures.
class ComponentsList : public ::testing::Test {
 protected:
  ComponentsList() : list(form, 10, 10, 300, 150) {
    list.SetCustomDraw(true);
    list.SetShowChecks(true);
    list.SetShowFileSize(true);
    list.Show();
  }

  // The left-button press of a user at (x, the middle of item `index`).
  void ClickAt(int index, int x) {
    RECT item;
    SendMessageA(list.Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM(x, (item.top + item.bottom) / 2);
    SendMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(list.Handle(), WM_LBUTTONUP, 0, point);
  }
  void PressSpaceOn(int index) {
    list.SetItemIndex(index);
    SendMessageA(list.Handle(), WM_CHAR, ' ', 0);
  }

  HostForm form;
  TAdvPSListBox list;
};

TEST_F(ComponentsList, ItemHeightFollowsChecksAndPictures) {
  TImageList pictures(16, 16);
  // "Wg" in the 8-point font is lower than the check box: check box height + 2.
  EXPECT_EQ(list.ItemHeight(), 15);
  list.SetImageList(&pictures);
  list.SetShowImages(true);
  EXPECT_EQ(list.ItemHeight(), 18) << "pictures 16 high + 2";
  list.SetCustomDraw(false);
  EXPECT_EQ(list.ItemHeight(), 15) << "pictures count only when drawn";
  TFontRecord big = list.Font();
  big.Size = 20;
  list.SetFont(big);
  EXPECT_GT(list.ItemHeight(), 20) << "a large font wins";
}

TEST_F(ComponentsList, UserTogglesFollowTheRules) {
  struct Case {
    const char* name;
    CheckState initial;
    bool allow_grayed, locked, enabled;
    bool veto;
    bool by_mouse;  // else the space bar
    int click_x;    // by mouse: where in the item
    CheckState expected;
    int check_clicks;  // OnCheckClick calls
  } cases[] = {
      {"space checks", CheckState::kUnchecked, false, false, true, false, false, 0,
       CheckState::kChecked, 0},
      {"grayed then checked", CheckState::kGrayed, false, false, true, false, false, 0,
       CheckState::kChecked, 0},
      {"grayed allowed", CheckState::kUnchecked, true, false, true, false, false, 0,
       CheckState::kGrayed, 0},
      {"click in the box", CheckState::kChecked, false, false, true, false, true, 5,
       CheckState::kUnchecked, 1},
      {"click beside the box", CheckState::kChecked, false, false, true, false, true, 40,
       CheckState::kChecked, 0},
      {"locked", CheckState::kUnchecked, false, true, true, false, false, 0, CheckState::kUnchecked,
       0},
      {"disabled", CheckState::kUnchecked, false, false, false, false, true, 5,
       CheckState::kUnchecked, 0},
      {"vetoed", CheckState::kUnchecked, false, false, true, true, true, 5, CheckState::kUnchecked,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    list.Clear();
    // Size 0 makes the item follow its own enabled flag.
    list.AddItem("Item", c.initial, c.enabled, "Item", 0);
    list.SetLocked(0, c.locked);
    list.SetAllowGrayed(c.allow_grayed);
    int queries = 0, changes = 0, check_clicks = 0;
    list.OnItemStateChange = [&](TAdvPSListBox&, int index, CheckState) {
      EXPECT_EQ(index, 0);
      ++queries;
      return !c.veto;
    };
    list.OnItemCheckChanged = [&](TAdvPSListBox&, int) { ++changes; };
    list.OnCheckClick = [&](TAdvPSListBox&, int) { ++check_clicks; };
    if (c.by_mouse)
      ClickAt(0, c.click_x);
    else
      PressSpaceOn(0);
    EXPECT_EQ(list.State(0), c.expected);
    const bool changed = c.expected != c.initial;
    EXPECT_EQ(changes, changed ? 1 : 0);
    EXPECT_EQ(check_clicks, c.check_clicks);
    EXPECT_EQ(queries, changed || c.veto ? 1 : 0) << "asked only before a real change";
  }
}

TEST_F(ComponentsList, SizeQueryDecidesAndDisabledItemsAreForcedUnchecked) {
  list.SetShowDisabledChecks(false);
  list.AddItem("Program", CheckState::kChecked, false, "Program", 0);
  list.AddItem("Empty", CheckState::kChecked, false, "Empty", 5000);
  list.AddItem("Flagged", CheckState::kChecked, true, "Flagged", 0);
  // The query answers for the names, whatever the stored sizes say.
  list.OnItemSize = [](TAdvPSListBox&, const std::string& name) -> uint32_t {
    return name == "Program" ? 1996 : 0;
  };
  std::vector<int> changed;
  list.OnItemCheckChanged = [&changed](TAdvPSListBox&, int index) { changed.push_back(index); };
  EXPECT_TRUE(list.IsItemEnabled(0)) << "a size enables it";
  EXPECT_FALSE(list.IsItemEnabled(1)) << "size 0, flag clear";
  EXPECT_TRUE(list.IsItemEnabled(2)) << "size 0, flag set";
  EXPECT_EQ(list.ShownSize(0), 1996u);

  test::Picture picture(list.Handle());  // paints
  EXPECT_EQ(list.State(1), CheckState::kUnchecked);
  EXPECT_EQ(changed, std::vector<int>{1});
  EXPECT_EQ(list.CheckedNames(), "Program|Flagged");

  list.SetEnabled(false);
  EXPECT_FALSE(list.IsItemEnabled(0)) << "a disabled list disables sized items";
  EXPECT_TRUE(list.IsItemEnabled(2)) << "the item's own flag still counts";
}

TEST_F(ComponentsList, WithoutSizesAndChecksItemsFollowTheList) {
  list.SetShowFileSize(false);
  list.AddItem("A", CheckState::kUnchecked, false, "A", 0);
  EXPECT_TRUE(list.IsItemEnabled(0));
  list.SetEnabled(false);
  EXPECT_FALSE(list.IsItemEnabled(0));
}

TEST_F(ComponentsList, CheckMarksFromAndToNames) {
  list.SetSorted(true);
  list.AddItem("Zeta", CheckState::kUnchecked, true, "z");
  list.AddItem("alpha", CheckState::kUnchecked, true, "a");
  list.AddItem("Mid", CheckState::kUnchecked, true, "m");
  EXPECT_EQ(list.ItemText(0), "alpha") << "sorted insertion";
  list.SetCheckedNames("Z|A");
  EXPECT_EQ(list.CheckedNames(), "a|z") << "item order, stored names";
  list.Sort();
  EXPECT_EQ(list.ItemName(2), "z") << "objects travel with their items";
  list.DeleteItem(0);
  EXPECT_EQ(list.CheckedNames(), "z");
  EXPECT_EQ(list.State(5), CheckState::kUnchecked) << "out of range reads a default item";
}

TEST_F(ComponentsList, MultiSelectKeepsItemsAndObjects) {
  list.AddItem("one", CheckState::kChecked, true, "1", 10);
  list.AddItem("two", CheckState::kUnchecked, true, "2", 20);
  list.SetMultiSelect(true);
  EXPECT_TRUE(GetWindowLongA(list.Handle(), GWL_STYLE) & LBS_EXTENDEDSEL);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Size(1), 20u);
  list.SelectAll();
  EXPECT_TRUE(list.Selected(0) && list.Selected(1));
  list.DeselectAll();
  EXPECT_FALSE(list.Selected(0) || list.Selected(1));
}

TEST_F(ComponentsList, DisabledItemsAreGrey) {
  list.AddItem("WWWWWWWW", CheckState::kUnchecked, false, "off", 0);
  list.AddItem("WWWWWWWW", CheckState::kUnchecked, true, "on", 0);
  test::Picture picture(list.Handle());
  const int height = list.ItemHeight();
  const RECT first = {40, 0, 120, height};
  const RECT second = {40, height, 120, 2 * height};
  EXPECT_TRUE(picture.Contains(first, GetSysColor(COLOR_GRAYTEXT)));
  EXPECT_FALSE(picture.Contains(first, list.FontColor()));
  EXPECT_TRUE(picture.Contains(second, list.FontColor()));
}

TEST_F(ComponentsList, ThemedPathDrawsSomething) {
  VisualStyles::Get().ForceActiveForTesting(true);
  list.AddItem("Themed", CheckState::kChecked, true, "t", 100);
  list.AddItem("Mixed", CheckState::kGrayed, true, "m", 100);
  test::Picture picture(list.Handle());
  VisualStyles::Get().ForceActiveForTesting(std::nullopt);
  // A check box stands at the left of the first item whatever path drew it.
  const int height = list.ItemHeight();
  bool marked = false;
  for (int y = 0; y < height && !marked; ++y)
    marked = picture.At(7, y) != GetSysColor(COLOR_WINDOW);
  EXPECT_TRUE(marked);
}

}  // namespace
}  // namespace kvb
