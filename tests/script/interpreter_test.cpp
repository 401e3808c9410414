// Control flow of the interpreter: blocks, loops, jumps, results and the wizard hooks.
#include <gtest/gtest.h>

#include <set>

#include "script_fakes.h"

namespace kvb {
namespace {

struct FlowCase {
  const char* name;
  std::vector<Line> script;
  bool expected_result;
  const char* expected_trace;  // %T% after the run
};

class FlowTest : public ::testing::TestWithParam<FlowCase> {};

// Each script appends to %T% with SET, so the trace shows what ran in which order.
Line Trace(const std::string& text, const std::string& guard = "") {
  return {"SET", {"%T%", "%T%" + text}, guard};
}

TEST_P(FlowTest, RunsTheExpectedStatements) {
  const FlowCase& c = GetParam();
  ScriptHarness h;
  h.vars.SetVariable("%T%", "");
  h.vars.SetVariable("%One%", "1");
  EXPECT_EQ(h.Execute(c.script), c.expected_result);
  EXPECT_EQ(h.Value("%T%"), c.expected_trace);
}

const FlowCase kFlowCases[] = {
    {"NestedIfWithDistinctIds",
     {{"IF", {"a"}, "%One% = 1|"},
      Trace("1"),
      {"IF", {"b"}, "%One% = 2|"},
      Trace("x"),
      {"ELSE", {"b"}},
      Trace("2"),
      {"ENDIF", {"b"}},
      Trace("3"),
      {"ELSE", {"a"}},
      Trace("y"),
      {"ENDIF", {"a"}},
      Trace("4")},
     true,
     "1234"},
    {"IfWithoutElseContinuesAfterEndIf",
     {{"IF", {"a"}, "%One% = 0|"}, Trace("x"), {"ENDIF", {"a"}}, Trace("1")},
     true,
     "1"},
    {"GuardOnEndIfHasNoEffect",
     {{"IF", {"a"}, "%One% = 1|"}, Trace("1"), {"ENDIF", {"a"}, "A = B|"}, Trace("2")},
     true,
     "12"},
    {"ForCountsInclusive",
     {{"FOR", {"%I%", "1", "3", "f"}}, Trace("%I%"), {"ENDFOR", {"f"}}, Trace(".")},
     true,
     "123."},
    {"ForWithStartAboveEndRunsNothing",
     {{"FOR", {"%I%", "3", "1", "f"}}, Trace("%I%"), {"ENDFOR", {"f"}}, Trace(".")},
     true,
     "."},
    {"FalseGuardOnForRunsBodyOnce",
     {{"FOR", {"%I%", "1", "3", "f"}, "A = B|"}, Trace("b"), {"ENDFOR", {"f"}}, Trace(".")},
     true,
     "b."},
    {"WhileWithBreakInsideIf",
     {{"SET", {"%N%", "0"}},
      {"WHILE", {"w"}, "%N% < 10|"},
      {"CALCULATE", {"%N%", "%N%", "ADDITION", "1"}},
      Trace("%N%"),
      {"IF", {"i"}, "%N% = 3|"},
      {"BREAK"},
      {"ENDIF", {"i"}},
      {"ENDWHILE", {"w"}},
      Trace(".")},
     true,
     "123."},
    {"GotoInsideIfAtTopLevelContinuesAtLabel",
     {{"IF", {"a"}, "%One% = 1|"},
      {"GOTO", {"there"}},
      Trace("x"),
      {"ENDIF", {"a"}},
      Trace("y"),
      {"LABEL", {"there"}},
      Trace("1")},
     true,
     "1"},
    {"GotoToMissingLabelIsIgnored", {{"GOTO", {"nowhere"}}, Trace("1")}, true, "1"},
    {"GotoBackwardsLoops",
     {{"SET", {"%N%", "0"}},
      {"LABEL", {"top"}},
      {"CALCULATE", {"%N%", "%N%", "ADDITION", "1"}},
      Trace("%N%"),
      {"GOTO", {"top"}, "%N% < 3|"},
      Trace(".")},
     true,
     "123."},
    {"GotoInsideLoopEndsTheLoopAtOnce",
     {{"FOR", {"%I%", "1", "5", "f"}},
      Trace("%I%"),
      {"GOTO", {"out"}, "%I% = 2|"},
      {"ENDFOR", {"f"}},
      Trace("x"),
      {"LABEL", {"out"}},
      Trace(".")},
     true,
     "12."},
    {"ExitReturnsTrue", {Trace("1"), {"EXIT"}, Trace("x")}, true, "1"},
    {"ExitInsideNestedBlocksEndsTheRun",
     {{"FOR", {"%I%", "1", "3", "f"}},
      {"IF", {"i"}, "%I% = 2|"},
      {"EXIT"},
      {"ENDIF", {"i"}},
      Trace("%I%"),
      {"ENDFOR", {"f"}},
      Trace("x")},
     true,
     "1"},
    {"CancelReturnsFalse", {Trace("1"), {"CANCEL"}, Trace("x")}, false, "1"},
    {"FinishInsideIfReturnsFalse",
     {{"IF", {"a"}}, {"FINISH"}, Trace("x"), {"ENDIF", {"a"}}, Trace("y")},
     false,
     ""},
    {"BreakInsideIfOutsideLoopEndsTheRun",
     {{"IF", {"a"}}, {"BREAK"}, {"ENDIF", {"a"}}, Trace("x")},
     true,
     ""},
    {"IfWithoutEndIfEndsTheRun",
     {Trace("1"), {"IF", {"a"}}, Trace("x"), {"ENDIF", {"b"}}, Trace("y")},
     true,
     "1"},
    {"ForWithoutEndForEndsOnlyItsRun",
     {{"IF", {"a"}},
      Trace("1"),
      {"FOR", {"%I%", "1", "2", "f"}},
      Trace("x"),
      {"ENDIF", {"a"}},
      Trace("2")},
     true,
     "12"},
    {"WhileWithoutEndWhileDoesNotLoop", {{"WHILE", {"w"}}, Trace("x")}, true, ""},
    {"LoopBoundThatDoesNotConvertEndsTheRun",
     {Trace("1"), {"FOR", {"%I%", "-", "3", "f"}}, Trace("x"), {"ENDFOR", {"f"}}, Trace("y")},
     true,
     "1"},
    {"ConversionFailureInsideBlockEndsTheWholeRun",
     {{"IF", {"a"}},
      Trace("1"),
      {"CALCULATE", {"%N%", "1-2", "ADDITION", "1"}},
      Trace("x"),
      {"ENDIF", {"a"}},
      Trace("y")},
     true,
     "1"},
};

INSTANTIATE_TEST_SUITE_P(Flow, FlowTest, ::testing::ValuesIn(kFlowCases), [](const auto& info) {
  return std::string(info.param.name);
});

TEST(InterpreterTest, UnhandledCodesAndMarkersGoToTheWizard) {
  ScriptHarness h;
  Log commands;
  h.State().Hooks.PageCommandHandler = [&](uint8_t code, const std::string& a1,
                                           const std::string& a2, const std::string& a3) {
    commands.push_back(std::to_string(code) + ":" + a1 + "," + a2 + "," + a3);
  };
  h.vars.SetVariable("%X%", "v");
  EXPECT_FALSE(h.Execute({{"#200", {"%X%", "b", "c"}},
                          {"NEXTPAGE"},
                          {"IF", {"a"}},
                          {"ENDIF", {"a"}},
                          {"ENDIF", {"b"}},
                          {"LABEL", {"l"}},
                          {"CANCEL"},
                          {"NEXTPAGE"}}));
  // Arguments reach the wizard unexpanded; markers reached in sequence are passed on (an
  // IF's own ENDIF is jumped over); the run ends after CANCEL.
  EXPECT_EQ(commands, (Log{"200:%X%,b,c", "16:,,", "47:b,,", "48:l,,", "15:,,"}));
}

TEST(InterpreterTest, PendingInstallationStartsAtTheEndOfTopLevelRuns) {
  struct Case {
    std::vector<Line> script;
    bool installation_running;
    int expected_starts;
  } cases[] = {
      {{{"SET", {"%A%", "1"}}}, false, 1},
      {{{"SET", {"%A%", "1"}}}, true, 0},
      {{{"EXIT"}}, false, 0},
      {{{"IF", {"a"}}, {"EXIT"}, {"ENDIF", {"a"}}}, false, 0},
      {{{"IF", {"a"}}, {"SET", {"%A%", "1"}}, {"ENDIF", {"a"}}}, false, 1},
  };
  for (const Case& c : cases) {
    ScriptHarness h;
    int starts = 0;
    h.State().Hooks.StartInstallation = [&] { ++starts; };
    h.State().CurrentPageName = "install";
    h.State().InstallationRunning = c.installation_running;
    h.Execute(c.script);
    EXPECT_EQ(starts, c.expected_starts);
    EXPECT_EQ(h.State().CurrentPageName, c.expected_starts ? "" : "install");
  }
}

TEST(InterpreterTest, NestedRangesAndRangesBeyondTheScriptDoNotStartInstallation) {
  ScriptHarness h;
  int starts = 0;
  h.State().Hooks.StartInstallation = [&] { ++starts; };
  h.State().CurrentPageName = "INSTALL";
  const TScript script = MakeScript({{"SET", {"%A%", "1"}}});
  EXPECT_EQ(h.engine->RunScript(script, 0, 0, false), kResultNormal);
  EXPECT_EQ(h.engine->RunScript(script, 0, 5, true), kResultNormal);
  EXPECT_EQ(starts, 0);
  EXPECT_EQ(h.Value("%A%"), "1");
}

TEST(InterpreterTest, ForEachSelectedVisitsSelectedItems) {
  ScriptHarness h;
  std::string asked;
  h.State().Hooks.FindListControl =
      [&](const std::string& name) -> std::optional<std::vector<ListItemState>> {
    asked = name;
    return std::vector<ListItemState>{{"a", true}, {"b", false}, {"c", true}};
  };
  h.vars.SetVariable("%T%", "");
  h.vars.SetVariable("%List%", "Files");
  h.Execute({{"FOREACHSELECTED", {"%Item%", "%List%", "e"}},
             {"SET", {"%T%", "%T%%Item%"}},
             {"ENDFOREACH", {"e"}}});
  EXPECT_EQ(asked, "Files");
  EXPECT_EQ(h.Value("%T%"), "ac");
}

TEST(InterpreterTest, StepHookBoundsEndlessLoops) {
  ScriptHarness h;
  int steps = 0;
  h.State().StepHook = [&] { return ++steps < 1000; };
  EXPECT_TRUE(h.Execute({{"WHILE", {"w"}}, {"ENDWHILE", {"w"}}}));
  EXPECT_EQ(steps, 1000);
}

TEST(InterpreterTest, DeepNestingIsCutOff) {
  std::vector<Line> lines;
  const int depth = TScriptEngine::kMaxDepth + 50;
  for (int i = 0; i < depth; ++i)
    lines.push_back({"IF", {std::to_string(i)}});
  lines.push_back({"SET", {"%Deep%", "1"}});
  for (int i = depth - 1; i >= 0; --i)
    lines.push_back({"ENDIF", {std::to_string(i)}});
  lines.push_back({"SET", {"%After%", "1"}});
  ScriptHarness h;
  EXPECT_TRUE(h.Execute(lines));
  EXPECT_EQ(h.Value("%Deep%"), "%Deep%");
  EXPECT_EQ(h.Value("%After%"), "1");
}

}  // namespace
}  // namespace kvb

namespace kvb {
namespace {

// Which codes the interpreter leaves to the wizard: the page and control commands, every
// code above 112, and the block markers reached in sequence.
TEST(InterpreterTest, DispatchLeavesExactlyTheWizardCodesToTheWizard) {
  std::set<int> wizard = {0, 3, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 33, 34, 45, 58, 60,
                          91, 92, 93, 99, 100, 101, 102, 103, 104, 30, 32, 47, 48, 90, 105};
  for (int code = 113; code < 256; ++code) wizard.insert(code);
  for (int code = 0; code < 256; ++code) {
    ScriptHarness h(true);
    h.device->present = false;
    bool handed_over = false;
    h.State().Hooks.PageCommandHandler = [&](uint8_t, const std::string&, const std::string&,
                                             const std::string&) { handed_over = true; };
    h.Execute({{"#" + std::to_string(code), {"%V%", "", "0"}}});
    EXPECT_EQ(handed_over, wizard.count(code) > 0) << code;
  }
}

}  // namespace
}  // namespace kvb
