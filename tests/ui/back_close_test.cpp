#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/back/back_close.h"
#include "vars/variables.h"

namespace kvb {
namespace {

// A wizard that records what the background window asks of it.
class FakeWizard : public BackCloseHost {
 public:
  explicit FakeWizard(Variables& vars) : vars_(vars) {}

  WizardCloseState State = {.Exists = true, .Visible = true};
  bool AnswerYes = true;
  // What the closing script does to the variables.
  std::function<void(Variables&)> Script;

  std::vector<int> Asked;
  std::vector<std::string> Calls;
  bool Finishing = false;
  std::string FinishingSeenByScript;

  WizardCloseState CloseState() override { return State; }
  bool AskYesNo(int number) override {
    Asked.push_back(number);
    return AnswerYes;
  }
  void StopExtraction() override { Calls.push_back("stop"); }
  void SetFinishing(bool finishing) override { Finishing = finishing; }
  void RunClosingScript() override {
    Calls.push_back("script");
    FinishingSeenByScript = vars_.ExpandText("%IsFinishingSetup%");
    EXPECT_EQ(vars_.ExpandText("%CanClose%"), "1");
    if (Script)
      Script(vars_);
  }
  void ClosingAgreed() override { Calls.push_back("agreed"); }
  void RestartWindows() override { Calls.push_back("restart"); }

 private:
  Variables& vars_;
};

using Calls = std::vector<std::string>;

TEST(BackCloseTest, QuestionsByWizardState) {
  struct Case {
    const char* name;
    WizardCloseState state;
    bool yes;
    std::vector<int> asked;
    bool agreed;
    Calls calls;
  } cases[] = {
      {"no wizard", {.Exists = false}, false, {}, true, {"script", "agreed"}},
      {"hidden wizard", {.Exists = true, .Visible = false}, false, {}, true, {"script", "agreed"}},
      {"last page", {.Exists = true, .Visible = true, .OnLastPage = true}, false, {}, true,
       {"script", "agreed"}},
      {"middle page, No", {.Exists = true, .Visible = true}, false, {7}, false, {}},
      {"middle page, Yes", {.Exists = true, .Visible = true}, true, {7}, true,
       {"script", "agreed"}},
      {"installing, No", {.Exists = true, .EngineRunning = true, .Visible = true}, false, {9},
       false, {}},
      {"installing, Yes", {.Exists = true, .EngineRunning = true, .Visible = false}, true, {9},
       true, {"stop", "script", "agreed"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Variables vars;
    FakeWizard wizard(vars);
    wizard.State = c.state;
    wizard.AnswerYes = c.yes;
    BackClosingMark mark = kBackOpen;
    EXPECT_EQ(BackCloseQuery(mark, true, vars, wizard), c.agreed);
    EXPECT_EQ(wizard.Asked, c.asked);
    EXPECT_EQ(wizard.Calls, c.calls);
    EXPECT_EQ(mark, c.agreed ? kBackClosed : kBackOpen);
    EXPECT_FALSE(wizard.Finishing);
    EXPECT_EQ(wizard.FinishingSeenByScript, c.agreed ? "0" : "");
  }
}

TEST(BackCloseTest, FinishingCloseAsksNothingAndMayRestart) {
  Variables vars;
  FakeWizard wizard(vars);
  wizard.State.EngineRunning = true;  // a finishing close does not ask even now
  wizard.Script = [](Variables& v) { v.SetVariable("%DoReboot%", "1"); };
  BackClosingMark mark = kBackFinishing;
  EXPECT_TRUE(BackCloseQuery(mark, true, vars, wizard));
  EXPECT_TRUE(wizard.Asked.empty());
  EXPECT_TRUE(wizard.Finishing);
  EXPECT_EQ(wizard.FinishingSeenByScript, "1");
  EXPECT_EQ(wizard.Calls, (Calls{"script", "agreed", "restart"}));
  EXPECT_EQ(mark, kBackClosed);
}

TEST(BackCloseTest, RestartOnlyWhenFinishing) {
  Variables vars;
  vars.SetVariable("%DoReboot%", "1");
  FakeWizard wizard(vars);
  wizard.State.OnLastPage = true;
  BackClosingMark mark = kBackOpen;
  EXPECT_TRUE(BackCloseQuery(mark, true, vars, wizard));
  EXPECT_EQ(wizard.Calls, (Calls{"script", "agreed"}));
}

TEST(BackCloseTest, ScriptRefusalKeepsTheSetupOpenAndAsksAgainNextTime) {
  Variables vars;
  FakeWizard wizard(vars);
  wizard.Script = [](Variables& v) {
    v.SetVariable("%CanClose%", "0");
    v.SetVariable("%DoReboot%", "1");
  };
  BackClosingMark mark = kBackFinishing;
  EXPECT_FALSE(BackCloseQuery(mark, true, vars, wizard));
  EXPECT_EQ(wizard.Calls, (Calls{"script"}));
  EXPECT_FALSE(wizard.Finishing);
  EXPECT_EQ(mark, kBackOpen);

  // The next close is an ordinary one: the user is asked on a middle page.
  wizard.Script = nullptr;
  wizard.Calls.clear();
  EXPECT_TRUE(BackCloseQuery(mark, true, vars, wizard));
  EXPECT_EQ(wizard.Asked, (std::vector<int>{7}));
  EXPECT_EQ(wizard.FinishingSeenByScript, "0");
  EXPECT_EQ(wizard.Calls, (Calls{"script", "agreed"}));
}

TEST(BackCloseTest, NotReadyRefusesAndAgreedStaysAgreed) {
  Variables vars;
  FakeWizard wizard(vars);
  BackClosingMark mark = kBackFinishing;
  EXPECT_FALSE(BackCloseQuery(mark, false, vars, wizard));
  EXPECT_TRUE(wizard.Calls.empty());
  EXPECT_EQ(vars.ExpandText("%CanClose%"), "%CanClose%");  // nothing was set

  mark = kBackClosed;
  EXPECT_TRUE(BackCloseQuery(mark, true, vars, wizard));
  EXPECT_TRUE(wizard.Calls.empty());
  EXPECT_TRUE(wizard.Asked.empty());
}

}  // namespace
}  // namespace kvb
