// The window foundation: modal results, Enter and Escape through nested panels, closing,
// notifications handled by the control that sent them, re-created windows.
#include <gtest/gtest.h>

#include "ui/base/panel_win.h"
#include "ui/controls/button_win.h"
#include "ui/controls/combo_box_win.h"
#include "ui_test_support_win.h"

namespace kvb {
namespace {

using test::HostForm;

TEST(FormTest, ButtonsEndTheModalRunWithTheirResult) {
  HostForm form;
  TPanel panel(form, 0, 0, 400, 300);
  panel.Show();
  TButton yes(panel, 10, 10, 75, 23, "Yes");
  yes.SetModalResult(kMrYes);
  yes.Show();
  PostMessageA(yes.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form.ShowModal(), kMrYes);
  EXPECT_FALSE(form.Visible()) << "hidden after the run";
  EXPECT_FALSE(form.Modal());

  PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form.ShowModal(), kMrCancel) << "the close box cancels";
}

TEST(FormTest, EnterAndEscapePressTheVisibleDefaultAndCancelButtons) {
  HostForm form;
  TPanel hidden_page(form, 0, 0, 400, 300);
  TPanel page(form, 0, 0, 400, 300);
  page.Show();
  TButton hidden_default(hidden_page, 10, 10, 75, 23, "Hidden");
  hidden_default.SetDefault(true);
  hidden_default.Show();
  TButton next(page, 10, 40, 75, 23, "Next");
  TButton cancel(page, 90, 40, 75, 23, "Cancel");
  TButton other(page, 170, 40, 75, 23, "Other");
  for (TButton* b : {&next, &cancel, &other})
    b->Show();
  next.SetDefault(true);
  cancel.SetCancel(true);
  std::string pressed;
  for (TButton* b : {&hidden_default, &next, &cancel, &other})
    b->OnClick = [&pressed](TWindow& sender) { pressed += sender.Text() + ";"; };

  // The dialog manager turns the keys into IDOK and IDCANCEL for the form.
  MSG enter = {page.Handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  EXPECT_TRUE(TranslateFormMessage(&enter));
  MSG escape = {page.Handle(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  EXPECT_TRUE(TranslateFormMessage(&escape));
  EXPECT_EQ(pressed, "Next;Cancel;");

  // A focused push button takes Enter itself; a disabled default button none.
  pressed.clear();
  other.SetFocus();
  EXPECT_TRUE(form.PressDialogKey(DialogKey::kEnter));
  form.SetFocus();
  next.SetEnabled(false);
  EXPECT_FALSE(form.PressDialogKey(DialogKey::kEnter));
  EXPECT_EQ(pressed, "Other;");
}

TEST(FormTest, CloseQueryKeepsTheFormOpen) {
  HostForm form;
  bool allow = false;
  form.OnCloseQuery = [&allow](TForm&) { return allow; };
  form.Close();
  EXPECT_TRUE(form.Visible());
  allow = true;
  form.Close();
  EXPECT_FALSE(form.Visible()) << "a form that is not modal hides";
}

TEST(FormTest, ControlsKeepTheirOrderNamesAndStateAcrossRecreation) {
  HostForm form;
  TPanel panel(form, 0, 0, 400, 300);
  auto& first = panel.Own(std::make_unique<TButton>(panel, 0, 0, 10, 10, "a"));
  auto& combo = panel.Own(std::make_unique<TComboBox>(panel, 10, 30, 150, 21, false));
  first.SetName("PS_Page_Button1");
  EXPECT_EQ(panel.ControlCount(), 2u);
  EXPECT_EQ(panel.Control(1), &combo);
  EXPECT_EQ(panel.FindControl("ps_page_button1"), &first);
  EXPECT_EQ(TWindow::FromHandle(combo.Handle()), &combo);

  combo.AddItem("one");
  combo.AddItem("two");
  combo.SetItemIndex(1);
  int selected = 0;
  combo.OnSelect = [&selected](TWindow&) { ++selected; };
  combo.SetListOnly(true);
  EXPECT_TRUE(GetWindowLongA(combo.Handle(), GWL_STYLE) & CBS_DROPDOWNLIST);
  EXPECT_EQ(combo.Count(), 2);
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(combo.BoundsRect().left, 10);
  EXPECT_EQ(panel.Control(1), &combo) << "still the second control";
  // Its notifications still reach it after re-creation.
  SendMessageA(panel.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo.Handle()), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo.Handle()));
  EXPECT_EQ(selected, 1);

  EXPECT_TRUE(panel.Free(&first));
  EXPECT_EQ(panel.ControlCount(), 1u);
  EXPECT_FALSE(panel.Free(&first));
}

}  // namespace
}  // namespace kvb
