// Pages built from control records and bound to variables: names, bounds, expanded
// texts, values stored on leaving, radio buttons, refreshes, style panels, list and
// button commands, progress.
#include <gtest/gtest.h>

#include "base/text.h"
#include "ui/builder/control_rules.h"
#include "ui/controls/ps_graphic_controls_win.h"
#include "ui/controls/ps_list_controls_win.h"
#include "ui/controls/ps_text_controls_win.h"
#include "wizard_fixture_win.h"

namespace kvb::test {
namespace {

TSetupControl Bound(TSetupControl control, const std::string& variable, uint8_t role = 0) {
  control.Variable = variable;
  control.Role = role;
  return control;
}

class PageBindingTest : public WizardTest {
 protected:
  void SinglePage(std::vector<TSetupControl> controls) {
    data.Dialogs = {LoggingPage("My Page-1", std::move(controls)), LoggingPage("Next")};
  }
  template <typename T>
  T& At(size_t index) {
    T* control = dynamic_cast<T*>(&PageControl(index));
    EXPECT_NE(control, nullptr) << "control " << index;
    return *control;
  }
};

TEST_F(PageBindingTest, ControlsGetClassesNamesBoundsAndExpandedCaptions) {
  SinglePage({Control(kKindLabel, {"Hello %SoftwareName% & more"}, 10, 12, 200, 16),
              Control(kKindLabel, {"second"}, 10, 30), Control(kKindStyleSpace, {}, 1, 2, 3, 4),
              Control(kKindButton, {"&Go", "", "2", "", "go"}, 210, 160, 80, 25),
              Control(kKindShape, {"4", "255", "65280"}), Control(0), Control(15),
              Control(kKindProgress)});
  TfrmSetupMain& wizard = Create();
  ASSERT_NE(wizard.PagePanel(), nullptr);
  EXPECT_EQ(wizard.PagePanel()->Name(), "My_Page_1");
  ASSERT_EQ(wizard.PagePanel()->ControlCount(), 5u) << "kinds 0, 12 and 15 make nothing";
  auto& label = At<TPSLabel>(0);
  EXPECT_EQ(label.Name(), "PS_My_Page_1_Label1");
  EXPECT_EQ(At<TPSLabel>(1).Name(), "PS_My_Page_1_Label2");
  EXPECT_EQ(label.Text(), "Hello Demo & more");
  EXPECT_EQ(label.Left(), 10);
  EXPECT_EQ(label.Top(), 12);
  EXPECT_EQ(label.Width(), 200);
  auto& button = At<TPSButton>(2);
  EXPECT_EQ(button.Name(), "PS_My_Page_1_Button1");
  EXPECT_EQ(button.Text(), "&Go");
  EXPECT_TRUE(button.Default());
  EXPECT_EQ(button.Identifier(), "go");
  auto& shape = At<TPSShape>(3);
  EXPECT_EQ(shape.Shape(), TPSShape::stEllipse);
  EXPECT_EQ(shape.PenColor(), 255u);
  EXPECT_EQ(shape.BrushColor(), 65280u);
  EXPECT_EQ(At<TPSProgress>(4).Max(), 100);
}

TEST_F(PageBindingTest, FontsFollowTheStringOrKeepTheDefault) {
  SinglePage({Control(kKindLabel, {"a", "Courier New|14|255|1|0|"}),
              Control(kKindLabel, {"b", "broken|"})});
  Create();
  EXPECT_EQ(At<TPSLabel>(0).Font().FaceName, "Courier New");
  EXPECT_EQ(At<TPSLabel>(0).Font().Size, 14u);
  EXPECT_EQ(At<TPSLabel>(0).Font().Style, 1);
  EXPECT_EQ(At<TPSLabel>(1).Font(), data.Properties.Font);
}

TEST_F(PageBindingTest, ValuesComeFromVariablesAndAreStoredOnLeaving) {
  data.FileFolders = {};
  vars.Hooks.IsDirectoryVariableHook = [](std::string_view name) { return name == "%DataDir%"; };
  vars.SetVariable("%DataDir%", "C:\\Data");
  SinglePage({Bound(Control(kKindTextBox, {"typed %SoftwareName%"}), "%Name%"),
              Bound(Control(kKindTextBox, {"ignored"}), "%DataDir%"),
              Bound(Control(kKindCheckBox, {"c", "", "YES", "yes", "no"}), "%Check%"),
              Bound(Control(kKindCheckBox, {"k", "", "%Keep%", "1", "0"}), "%Kept%"),
              Bound(Control(kKindComboBox, {"", "1", "a|b|c", "b"}), "%Combo%"),
              Bound(Control(kKindListBox, {"", "x|y", "y"}), "%List%")});
  Create();
  EXPECT_EQ(At<TPSEdit>(0).Text(), "typed Demo");
  EXPECT_EQ(At<TPSEdit>(1).Text(), "C:\\Data") << "directory variables show their value";
  EXPECT_TRUE(At<TPSCheckBox>(2).Checked()) << "YES equals the checked value yes";
  At<TPSEdit>(0).SetText("changed");
  form->PageCommandHandler(16, "", "", "");
  EXPECT_EQ(Var("%Name%"), "changed");
  EXPECT_EQ(Var("%Check%"), "yes");
  EXPECT_EQ(Var("%Kept%"), "%Keep%") << "an unchecked box keeps a %...% value";
  EXPECT_EQ(Var("%Combo%"), "b");
  EXPECT_EQ(Var("%List%"), "y");
}

TEST_F(PageBindingTest, RadioButtonsFollowTheirVariableNotTheirInitialFlag) {
  vars.SetVariable("%Choice%", "2");
  SinglePage({Bound(Control(kKindRadioButton, {"one", "", "1", "1"}), "%Choice%"),
              Bound(Control(kKindRadioButton, {"two", "", "0", "2"}), "%Choice%")});
  Create();
  EXPECT_FALSE(At<TPSRadioButton>(0).Checked());
  EXPECT_TRUE(At<TPSRadioButton>(1).Checked());
  At<TPSRadioButton>(0).SetChecked(true);
  form->PageCommandHandler(22, "", "", "");  // STOREVALUES
  EXPECT_EQ(Var("%Choice%"), "1");
}

TEST_F(PageBindingTest, ControlScriptsRunOnProgrammaticChangesToo) {
  TSetupControl edit = Bound(Control(kKindTextBox, {"start"}), "%Text%");
  edit.Script = LogScript("edit");
  TSetupControl box = Control(kKindCheckBox, {"c", "", "0", "1", "0"});
  box.Script = LogScript("box");
  SinglePage({edit, box});
  Create();
  EXPECT_NE(Var("%Log%").find("edit|"), std::string::npos) << "the builder set the text";
  vars.SetVariable("%Log%", "");
  At<TPSCheckBox>(1).SetChecked(true);
  EXPECT_EQ(Var("%Log%"), "box|");
}

TEST_F(PageBindingTest, InstallDirChangesRefreshItsBox) {
  vars.SetVariable("%InstallDir%", "C:\\Program Files\\Demo");
  SinglePage({Control(kKindTextBox, {}), Bound(Control(kKindTextBox, {}), "", kRoleInstallDirBox),
              Bound(Control(kKindTextBox, {}), "", kRoleProgramGroupBox)});
  data.Dialogs[0].Controls[0].Role = kRoleInstallDirBox;
  Create();
  EXPECT_EQ(At<TPSEdit>(1).Text(), "C:\\Program Files\\Demo");
  vars.SetVariable("%InstallDir%", "D:\\Other");
  EXPECT_EQ(At<TPSEdit>(0).Text(), "D:\\Other");
  EXPECT_EQ(At<TPSEdit>(1).Text(), "D:\\Other");
  // Typing into one box sets the variable, which the other box follows.
  At<TPSEdit>(0).SetText("E:\\Typed");
  EXPECT_EQ(Var("%InstallDir%"), "E:\\Typed");
  EXPECT_EQ(At<TPSEdit>(1).Text(), "E:\\Typed");
  vars.SetVariable("%ProgramGroup%", "Group");
  EXPECT_EQ(At<TPSEdit>(2).Text(), "Group");
}

TEST_F(PageBindingTest, FolderTreeAndDriveListFollowTheInstallDir) {
  vars.Hooks.IsDirectoryVariableHook = [](std::string_view name) {
    return SameText(name, "%InstallDir%");
  };
  vars.SetVariable("%WinDir%", "C:\\windows");
  vars.SetVariable("%InstallDir%", "C:\\windows\\system32\\New Product");
  SinglePage({Bound(Control(kKindTextBox, {}), "", kRoleInstallDirBox),
              Bound(Control(kKindListBox, {}, 0, 30, 200, 100), "%InstallDir%", kRoleFolderTree),
              Bound(Control(kKindComboBox, {}, 0, 140, 200, 22), "%InstallDir%", kRoleDriveList)});
  Create();
  EXPECT_EQ(Var("%InstallDir%"), "C:\\windows\\system32\\New Product");
  EXPECT_EQ(At<TPSEdit>(0).Text(), "C:\\windows\\system32\\New Product");
  auto& tree = At<TPSDirList>(1);
  EXPECT_TRUE(SameText(tree.Directory(), "C:\\windows\\system32")) << tree.Directory();
  EXPECT_EQ(UpperAscii(At<TPSDriveCombo>(2).Drive()), 'C');
  // The user moves the tree: the box shows the folder, which becomes the install folder.
  tree.SetDirectory("C:\\windows");
  EXPECT_TRUE(SameText(At<TPSEdit>(0).Text(), "C:\\windows\\")) << At<TPSEdit>(0).Text();
  EXPECT_TRUE(SameText(Var("%InstallDir%"), "C:\\windows"))
      << "directory variables keep no backslash";
}

TEST_F(PageBindingTest, PagesSharingAStyleReuseItsPanelAndTakeItsSpace) {
  TSetupDialog style = LoggingPage("Look");
  style.Type = 2;
  style.Controls = {Control(kKindLabel, {"header"}), Control(kKindStyleSpace, {}, 20, 30, 100, 50)};
  data.Dialogs = {style, LoggingPage("A", {Control(kKindLabel, {"a"})}),
                  LoggingPage("B", {Control(kKindLabel, {"b"})})};
  data.Dialogs[1].Style = "Look";
  data.Dialogs[2].Style = "Look";
  TfrmSetupMain& wizard = Create();
  TWindow* host = wizard.StyleHost();
  ASSERT_NE(host, &wizard);
  EXPECT_EQ(host->Name(), "Style_Look");
  EXPECT_EQ(wizard.PagePanel()->Left(), 20);
  EXPECT_EQ(wizard.PagePanel()->Top(), 30);
  EXPECT_EQ(wizard.PagePanel()->Width(), 100) << "the style space's size";
  EXPECT_EQ(wizard.PagePanel()->Height(), 50);
  TPanel* first = wizard.PagePanel();
  Command(16);
  EXPECT_EQ(wizard.StyleHost(), host);
  EXPECT_FALSE(first->Visible());
  Command(17);
  EXPECT_EQ(wizard.PagePanel(), first) << "a page's panel is built once";
  EXPECT_TRUE(first->Visible());
}

TEST_F(PageBindingTest, ListAndButtonCommandsReachControlsByName) {
  SinglePage({Control(kKindListBox, {"", "b|a", "", "", "Names", "1"}),
              Control(kKindComboBox, {"", "", "", "", "", "Names"}),
              Control(kKindButton, {"b", "", "0", "", "Next"})});
  data.Languages.resize(2);
  data.Languages[0].Name = "English";
  data.Languages[1].Name = "Deutsch";
  Create();
  Command(33, "names", "c");
  EXPECT_EQ(At<TPSListBox>(0).Count(), 3);
  EXPECT_EQ(At<TPSComboBox>(1).Count(), 1);
  Command(99, "Names");
  EXPECT_EQ(At<TPSListBox>(0).ItemText(0), "a");
  Command(93, "Names", "A, c");
  EXPECT_TRUE(At<TPSListBox>(0).Selected(0));
  EXPECT_FALSE(At<TPSListBox>(0).Selected(1));
  EXPECT_TRUE(At<TPSListBox>(0).Selected(2));
  ASSERT_NE(form->FindListControl("NAMES"), nullptr);
  EXPECT_EQ(form->FindListControl("other"), nullptr);
  Command(34, "Names");
  EXPECT_EQ(At<TPSListBox>(0).Count(), 0);
  Command(100, "Names");
  EXPECT_EQ(At<TPSComboBox>(1).Count(), 2);
  Command(102, "NEXT");
  EXPECT_FALSE(At<TPSButton>(2).Enabled());
  Command(101, "next");
  EXPECT_TRUE(At<TPSButton>(2).Enabled());
}

TEST_F(PageBindingTest, ProgressReachesStatusDetailAndBars) {
  SinglePage({Bound(Control(kKindLabel, {"s"}), "", kRoleStatusLine),
              Bound(Control(kKindLabel, {"d"}), "", kRoleDetailLine), Control(kKindProgress)});
  TfrmSetupMain& wizard = Create();
  wizard.ShowProgress(kProgressStatus, "Copying", 0);
  wizard.ShowProgress(kProgressDetail, "file.txt", 0);
  wizard.ShowProgress(kProgressMaximum, "", 200);
  wizard.ShowProgress(kProgressPosition, "", 50);
  EXPECT_EQ(At<TPSLabel>(0).Text(), "Copying");
  EXPECT_EQ(At<TPSLabel>(1).Text(), "file.txt");
  EXPECT_EQ(At<TPSProgress>(2).Max(), 200);
  EXPECT_EQ(At<TPSProgress>(2).Position(), 50);
}

TEST_F(PageBindingTest, FirstFocusSkipsButtonsRadiosAndLabels) {
  SinglePage({Control(kKindButton, {"b"}), Control(kKindRadioButton, {"r"}),
              Control(kKindLabel, {"l"}), Control(kKindTextBox, {"t"})});
  Create();
  EXPECT_TRUE(At<TPSEdit>(3).Focused());
}

TEST_F(PageBindingTest, ComponentsListShowsPackageComponentsAndStoresTheSelection) {
  TInstallerComponent program, docs, extra;
  program.Component = {"Program", "The program", ""};
  docs.Component = {"Docs", "Readme and manual", ""};
  extra.Component = {"Extra", "Nothing yet", ""};
  data.Components = {program, docs, extra};
  TSetupInstallerFile exe, readme;
  exe.File.Components = "Program";
  exe.File.Size = 1000;
  readme.File.Components = "Tools|docs";
  readme.File.Size = 2047;
  data.DeviceFiles = {exe, readme};
  vars.SelectedComponents = "Program";
  SinglePage({Bound(Control(kKindListBox, {}), "", kRoleComponents),
              Bound(Control(kKindLabel, {}), "", kRoleComponentDescription),
              Bound(Control(kKindLabel, {}), "", kRoleRequiredSpace)});
  Create();
  auto& list = At<TPSListBox>(0);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_TRUE(list.Checked(0));
  EXPECT_FALSE(list.Checked(1));
  EXPECT_EQ(list.ShownSize(1), 2047u);
  EXPECT_TRUE(list.ItemEnabledFlag(1));
  EXPECT_FALSE(list.ItemEnabledFlag(2)) << "no file belongs to it";
  EXPECT_EQ(At<TPSLabel>(2).Text(), "1000 bytes");
  list.SetItemIndex(1);
  list.OnClick(list);
  EXPECT_EQ(At<TPSLabel>(1).Text(), "Readme and manual");
  list.SetState(1, CheckState::kChecked);
  list.OnItemCheckChanged(list, 1);
  EXPECT_EQ(vars.SelectedComponents, "Program|Docs");
  EXPECT_EQ(At<TPSLabel>(2).Text(), "3.0 KB");
}

}  // namespace
}  // namespace kvb::test
