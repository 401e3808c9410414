// The value rules of the page controls: check boxes with their last set value, list and
// combo boxes selecting exact matches, and the events that setting a value raises.
#include <gtest/gtest.h>

#include "ui/controls/ps_list_controls_win.h"
#include "ui/controls/ps_text_controls_win.h"
#include "ui_test_support_win.h"

namespace kvb {
namespace {

using test::HostForm;

TSetupControl Rec() {
  TSetupControl record;
  record.Kind = 4;
  record.Variable = "%Choice%";
  record.Role = 0;
  record.Left = 10;
  record.Top = 10;
  record.Width = 150;
  record.Height = 60;
  return record;
}

TEST(PSValuesTest, CheckBoxValues) {
  struct Case {
    const char* checked;
    const char* unchecked;
    std::vector<const char*> set;  // values set in turn
    bool expected_checked;
    const char* expected_value;
    int expected_clicks;
  } cases[] = {
      {"yes", "no", {"YES"}, true, "yes", 1},    // case-insensitive match checks
      {"1", "0", {"0"}, false, "0", 0},          // no change of state, no click
      {"1", "0", {"%OPT%"}, false, "%OPT%", 0},  // a variable reference is kept
      {"1", "0", {"%"}, false, "0", 0},          // a lone % is no reference
      {"1", "0", {"1", "%OPT%"}, false, "%OPT%", 2},
      {"1", "0", {}, false, "0", 0},  // nothing set: the unchecked value
  };
  HostForm form;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected_value);
    TPSCheckBox box(form, Rec());
    box.SetCheckedValue(c.checked);
    box.SetUncheckedValue(c.unchecked);
    int clicks = 0;
    box.OnClick = [&clicks](TWindow&) { ++clicks; };
    for (const char* value : c.set)
      box.SetValue(value);
    EXPECT_EQ(box.Checked(), c.expected_checked);
    EXPECT_EQ(box.Value(), c.expected_value);
    EXPECT_EQ(clicks, c.expected_clicks);
  }
}

TEST(PSValuesTest, CheckBoxSetsOnlyChangedValues) {
  HostForm form;
  TPSCheckBox box(form, Rec());
  box.SetValue("1");
  box.SetChecked(false);  // the user unchecks it
  box.SetValue("1");      // the same value again: nothing happens
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(box.LastSetValue(), "1");
  EXPECT_EQ(box.Record().Variable, "%Choice%");
}

TEST(PSValuesTest, RadioButtonsOnOneParentExcludeEachOther) {
  HostForm form;
  TPSRadioButton a(form, Rec()), b(form, Rec());
  int clicks = 0;
  b.OnClick = [&clicks](TWindow&) { ++clicks; };
  a.SetChecked(true);
  b.SetChecked(true);
  b.SetChecked(true);
  EXPECT_FALSE(a.Checked());
  EXPECT_TRUE(b.Checked());
  EXPECT_EQ(clicks, 1) << "a click when it becomes checked";
  // A user's click on a checked button changes nothing.
  SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(b.Handle()), BN_CLICKED),
               reinterpret_cast<LPARAM>(b.Handle()));
  EXPECT_EQ(clicks, 1);
}

TEST(PSValuesTest, ListBoxValueIsTheExactItem) {
  HostForm form;
  TPSListBox list(form, Rec());
  for (const char* item : {"alpha", "Beta", "beta"})
    list.AddItem(item);
  int changes = 0;
  list.OnValueChange = [&changes](TWindow&) { ++changes; };
  list.SetValue("beta");
  EXPECT_EQ(list.ItemIndex(), 2) << "exact comparison";
  EXPECT_EQ(list.Value(), "beta");
  list.SetValue("gamma");
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.Value(), "");
  EXPECT_EQ(changes, 2);
  // A user's click: the value follows the selection, then the event.
  list.SetItemIndex(0);
  SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list.Handle()), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list.Handle()));
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(list.Value(), "alpha");
}

TEST(PSValuesTest, ComboBoxValueTypedOrPicked) {
  HostForm form;
  TPSComboBox combo(form, Rec());
  EXPECT_EQ(combo.Text(), " ");
  for (const char* item : {"Typical", "Custom"})
    combo.AddItem(item);
  std::vector<std::string> seen;
  combo.OnValueChange = [&](TWindow&) { seen.push_back(combo.Value()); };
  combo.SetValue("Custom");
  combo.SetValue("Elsewhere");  // typing allowed: the text is the value
  EXPECT_EQ(combo.ItemIndex(), -1);
  combo.SetListOnly(true);
  combo.SetValue("Typical");
  combo.SetValue("Elsewhere");  // list only: nothing selected, no value
  EXPECT_EQ(seen, (std::vector<std::string>{"Custom", "Elsewhere", "Typical", ""}));
}

TEST(PSValuesTest, ButtonTypesAnswerEnterAndEscape) {
  HostForm form;
  TPSButton button(form, Rec());
  EXPECT_EQ(button.Text(), "Button");
  button.SetButtonType(TPSButton::kDefaultButton);
  EXPECT_TRUE(button.AnswersDialogKey(DialogKey::kEnter));
  EXPECT_TRUE(GetWindowLongA(button.Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
  button.SetButtonType(TPSButton::kCancelButton);
  EXPECT_FALSE(button.AnswersDialogKey(DialogKey::kEnter));
  EXPECT_TRUE(button.AnswersDialogKey(DialogKey::kEscape));
  button.SetButtonType(7);
  EXPECT_FALSE(button.AnswersDialogKey(DialogKey::kEscape));
}

}  // namespace
}  // namespace kvb
