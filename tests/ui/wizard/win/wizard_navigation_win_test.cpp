// The wizard's pages: which page shows, when the page scripts run, and how their results
// stop or allow a move.
#include <gtest/gtest.h>

#include "ui/base/form_win.h"
#include "ui/builder/control_rules.h"
#include "wizard_fixture_win.h"

namespace kvb::test {
namespace {

constexpr uint8_t kNext = 16;
constexpr uint8_t kBack = 17;
constexpr uint8_t kGoTo = 18;

class WizardNavigationTest : public WizardTest {
 protected:
  WizardNavigationTest() {
    TSetupDialog install = LoggingPage("INSTALL");
    install.Scripts = {};
    TSetupDialog style = LoggingPage("Frame");
    style.Type = 2;
    data.Dialogs = {install, style, LoggingPage("Welcome"), LoggingPage("Middle"),
                    LoggingPage("Finish")};
  }
  void ClearLog() { vars.SetVariable("%Log%", ""); }
};

TEST_F(WizardNavigationTest, FirstPageShowsWithItsScriptsInOrder) {
  TfrmSetupMain& wizard = Create();
  EXPECT_EQ(wizard.CurrentName(), "Welcome");
  EXPECT_TRUE(wizard.Visible());
  EXPECT_EQ(wizard.Text(), "Welcome of Demo");
  EXPECT_EQ(Var("%Log%"), "Welcome.before|Welcome.built|Welcome.shown|");
  EXPECT_EQ(engine->State().CurrentPageName, "Welcome");
  const SIZE client = wizard.ClientSize();
  EXPECT_EQ(client.cx, 300);
  EXPECT_EQ(client.cy, 200);
}

TEST_F(WizardNavigationTest, NextAndBackRunLeaveThenTheNewPagesScripts) {
  TfrmSetupMain& wizard = Create();
  ClearLog();
  Command(kNext);
  EXPECT_EQ(wizard.CurrentName(), "Middle");
  EXPECT_EQ(Var("%Log%"), "Welcome.leave|Middle.before|Middle.built|Middle.shown|");
  Command(kNext);
  Command(kNext);  // the last page stays
  EXPECT_EQ(wizard.CurrentName(), "Finish");
  ClearLog();
  Command(kBack);
  Command(kBack);
  Command(kBack);  // the first page stays
  EXPECT_EQ(wizard.CurrentName(), "Welcome");
  EXPECT_EQ(Var("%Log%"),
            "Finish.leave|Middle.before|Middle.built|Middle.shown|"
            "Middle.leave|Welcome.before|Welcome.built|Welcome.shown|");
}

TEST_F(WizardNavigationTest, InstallIsReachedOnlyByNameAndReturnsToThePageBefore) {
  TfrmSetupMain& wizard = Create();
  EXPECT_NE(wizard.NextPageName(), "INSTALL");
  // Without an installation running, "INSTALL" returns at once.
  EXPECT_FALSE(wizard.ShowPage("INSTALL"));
  EXPECT_EQ(wizard.CurrentName(), "Welcome");
  EXPECT_EQ(wizard.PagePanel()->Name(), "Welcome");
  engine->State().InstallationRunning = true;
  ASSERT_TRUE(wizard.ShowPage("INSTALL"));
  EXPECT_EQ(wizard.CurrentName(), "INSTALL");
  // From "INSTALL", Next goes on from the page it was entered from.
  EXPECT_EQ(wizard.NextPageName(), "Middle");
  // A script run that ends while "INSTALL" stands without an installation goes back.
  engine->State().InstallationRunning = false;
  engine->ExecuteScript(Script({Statement("SET", {"%X%", "1"})}));
  EXPECT_EQ(wizard.CurrentName(), "Welcome");
}

TEST_F(WizardNavigationTest, StyleDialogsAndUnknownNamesAreNeverShown) {
  TfrmSetupMain& wizard = Create();
  EXPECT_FALSE(wizard.ShowPage("Frame"));
  EXPECT_FALSE(wizard.ShowPage("Nowhere"));
  EXPECT_FALSE(wizard.ShowPage("Welcome")) << "already current";
  EXPECT_TRUE(wizard.ShowPage("middle"));
  EXPECT_EQ(wizard.CurrentName(), "Middle");
}

TEST_F(WizardNavigationTest, LeaveScriptStopKeepsThePageUnlessCanCloseIsZero) {
  // The leave script asks to cancel; the user refuses to close, so the script stops.
  data.Dialogs[2].Scripts[kLeaveScript] =
      Script({Statement("SET", {"%CanClose%", "%Stay%"}), Statement("CANCEL")});
  vars.SetVariable("%Stay%", "1");
  TfrmSetupMain& wizard = Create();
  Command(kNext);
  EXPECT_EQ(wizard.CurrentName(), "Welcome");
  EXPECT_EQ(questions.size(), 1u);
  vars.SetVariable("%Stay%", "0");
  Command(kNext);
  EXPECT_EQ(wizard.CurrentName(), "Middle");
  EXPECT_FALSE(wizard.Ended());
}

TEST_F(WizardNavigationTest, BeforeScriptThatNavigatesAwayLeavesItsPageUnshown) {
  data.Dialogs[3].Scripts[kBeforeScript] = Script({Statement("GOTOPAGE", {"Finish"})});
  TfrmSetupMain& wizard = Create();
  ClearLog();
  Command(kNext);
  EXPECT_EQ(wizard.CurrentName(), "Finish");
  EXPECT_EQ(Var("%Log%"), "Welcome.leave|Middle.leave|Finish.before|Finish.built|Finish.shown|");
}

TEST_F(WizardNavigationTest, GoToPageInALeaveScriptWinsOverTheMove) {
  data.Dialogs[2].Scripts[kLeaveScript] = Script({Statement("GOTOPAGE", {"Finish"})});
  TfrmSetupMain& wizard = Create();
  Command(kGoTo, "Middle");
  EXPECT_EQ(wizard.CurrentName(), "Finish");
}

TEST_F(WizardNavigationTest, EnterEscapeAndAcceleratorsPressTheirButtons) {
  TSetupControl ok = Control(kKindButton, {"OK", "", "2"}, 10, 100, 80, 25);
  ok.Script = LogScript("enter");
  TSetupControl cancel = Control(kKindButton, {"Cancel", "", "1"}, 100, 100, 80, 25);
  cancel.Script = LogScript("escape");
  TSetupControl other = Control(kKindButton, {"&Go"}, 190, 100, 80, 25);
  other.Script = LogScript("go");
  data.Dialogs[2].Controls = {Control(kKindTextBox, {"text"}), ok, cancel, other};
  data.Dialogs[2].Scripts = {};
  TfrmSetupMain& wizard = Create();
  HWND focus = GetFocus();
  ASSERT_EQ(focus, wizard.PagePanel()->Control(0)->Handle()) << "the text box has the focus";
  auto press = [&](UINT message, WPARAM key) {
    MSG msg{focus, message, key, 0, 0, {0, 0}};
    return TranslateFormMessage(&msg);
  };
  EXPECT_TRUE(press(WM_KEYDOWN, VK_RETURN));
  EXPECT_TRUE(press(WM_KEYDOWN, VK_ESCAPE));
  EXPECT_TRUE(press(WM_SYSCHAR, 'g'));
  EXPECT_EQ(Var("%Log%"), "enter|escape|go|");
}

// --- closing ---

TEST_F(WizardNavigationTest, ClosingOnAMiddlePageAsksAndNoKeepsTheWizard) {
  data.Scripts[3] = LogScript("closing");
  TfrmSetupMain& wizard = Create();
  Command(kNext);
  ClearLog();
  wizard.Close();
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], "Do you want to close the Setup?");
  EXPECT_FALSE(wizard.Ended());
  EXPECT_EQ(Var("%Log%"), "");
  answer_yes = true;
  wizard.Close();
  EXPECT_TRUE(wizard.Ended());
  EXPECT_EQ(wizard.EndReason(), WizardEnd::kCancelled);
  EXPECT_EQ(Var("%Log%"), "closing|Middle.leave|") << "closing script, then the leave script";
  EXPECT_EQ(Var("%IsFinishingSetup%"), "0");
  EXPECT_FALSE(wizard.Visible());
}

TEST_F(WizardNavigationTest, ClosingOnTheLastPageOrFinishingAsksNothing) {
  TfrmSetupMain& wizard = Create();
  Command(kGoTo, "Finish");
  wizard.Close();
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(wizard.EndReason(), WizardEnd::kFinished);
}

TEST_F(WizardNavigationTest, ClosingScriptRefusesWithCanCloseZero) {
  data.Scripts[3] = Script({Statement("SET", {"%CanClose%", "0"})});
  TfrmSetupMain& wizard = Create();
  Command(25);  // FINISH
  EXPECT_FALSE(wizard.Ended());
  EXPECT_FALSE(wizard.Finishing()) << "a refused finish clears the flag";
  Command(kNext);
  EXPECT_EQ(wizard.CurrentName(), "Middle") << "commands still work";
}

TEST_F(WizardNavigationTest, RestartOnlyWhenFinishingWithDoReboot) {
  vars.SetVariable("%DoReboot%", "1");
  answer_yes = true;
  {
    TfrmSetupMain& wizard = Create();
    wizard.Close();  // cancelled: no restart
    EXPECT_TRUE(wizard.Ended());
  }
  EXPECT_EQ(restarts, 0);
  form.reset();
  TfrmSetupMain& wizard = Create();
  Command(25);
  EXPECT_EQ(wizard.EndReason(), WizardEnd::kFinished);
  EXPECT_EQ(Var("%IsFinishingSetup%"), "1");
  EXPECT_EQ(restarts, 1);
}

TEST_F(WizardNavigationTest, EndedWizardIgnoresCommands) {
  TfrmSetupMain& wizard = Create();
  Command(25);
  ASSERT_TRUE(wizard.Ended());
  Command(kNext);
  EXPECT_EQ(wizard.CurrentName(), "Welcome");
}

// --- requirements ---

TEST_F(WizardNavigationTest, FailingRequirementShowsItsMessageAndEndsWithItsCode) {
  data.MinimumRequirements.MinScreen = 5;
  machine.ScreenWidth = 800;
  machine.ScreenHeight = 600;
  data.Scripts[4] = LogScript("error %ErrorCode%");
  TfrmSetupMain& wizard = Create();
  EXPECT_TRUE(wizard.Ended());
  EXPECT_EQ(wizard.EndReason(), WizardEnd::kFailed);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Demo needs more screen size. Setup cannot continue and will now exit.");
  EXPECT_EQ(Var("%ErrorCode%"), "5");
  EXPECT_EQ(Var("%Log%"), "error 5|") << "no page was shown";
  EXPECT_TRUE(wizard.CurrentName().empty());
}

TEST_F(WizardNavigationTest, MissingVolumeNamesTheFileAndTheErrorScriptMayGoOn) {
  header.Trailer.MainArchiveOffset = 0;
  data.Scripts[4] = Script({Statement("SET", {"%CanClose%", "0"})});
  TfrmSetupMain& wizard = Create();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("setup.001"), std::string::npos) << messages[0];
  EXPECT_EQ(Var("%ErrorCode%"), "3");
  EXPECT_FALSE(wizard.Ended());
  EXPECT_EQ(wizard.CurrentName(), "Welcome");
}

}  // namespace
}  // namespace kvb::test
