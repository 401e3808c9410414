#include "script/script_engine.h"

#include "base/text.h"
#include "script/command_context.h"
#include "script/condition.h"
#include "script/conversion.h"
#include "setupdata/command_table.h"
#include "vars/variables.h"

namespace kvb {

ScriptRuntime::ScriptRuntime(Variables& variables,
                             ScriptServices services,
                             const ScriptEngineOptions& options)
    : Vars(variables),
      Services(std::move(services)),
      Options(options),
      Random(options.RandomSeed) {}

// What the run does after a statement: go on at `next`, or return `result`.
struct TScriptEngine::Flow {
  bool leave = false;
  int result = kResultNormal;
  int next = 0;
  static Flow Next(int index) { return {false, kResultNormal, index}; }
  static Flow Leave(int result) { return {true, result, 0}; }
  // A malformed block: the run ends as if it had reached the end of its range.
  static Flow EndOfRange() { return {false, kResultNormal, -1}; }
};

namespace {

int StatementCount(const TScript& script) {
  return static_cast<int>(script.Statements.size());
}

std::string_view BlockId(const TScriptStatement& statement, int arg) {
  return FieldText(statement.Args[arg - 1]);
}

// First statement after `opener` with `code` whose argument 1 equals `id`; -1 if none.
int FindMarker(const TScript& script, int opener, uint8_t code, std::string_view id) {
  for (int j = opener + 1; j < StatementCount(script); ++j) {
    const TScriptStatement& s = script.Statements[j];
    if (s.CommandCode() == code && BlockId(s, 1) == id)
      return j;
  }
  return -1;
}

// Loops end on abort, exit and break, and on a jump, which takes effect at once.
bool LoopShouldStop(int result) {
  return result != kResultNormal;
}

}  // namespace

TScriptEngine::TScriptEngine(Variables& variables,
                             ScriptServices services,
                             const ScriptEngineOptions& options)
    : state_(variables, std::move(services), options) {}

bool TScriptEngine::ExecuteScript(const TScript& script) {
  return RunScript(script, 0, StatementCount(script) - 1, true) != kResultAbort;
}

bool TScriptEngine::EvaluateCondition(std::string_view condition) {
  return kvb::EvaluateCondition(state_.Vars, condition, state_.Options.PackageHasComponents);
}

bool TScriptEngine::Step() {
  return !state_.StepHook || state_.StepHook();
}

int TScriptEngine::RunScript(const TScript& script, int first, int last, bool top) {
  struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& d) : depth(++d) {}
    ~DepthGuard() { --depth; }
  } guard(depth_);

  int i = first;
  while (i <= last) {
    if (i < 0 || i >= StatementCount(script))
      return kResultNormal;
    if (!Step())
      return kResultExit;
    const TScriptStatement& statement = script.Statements[i];
    const uint8_t code = statement.CommandCode();
    if (code != kCmdWhile && code != kCmdIf && !EvaluateCondition(FieldText(statement.Guard))) {
      ++i;
      continue;
    }
    Flow flow;
    try {
      flow = RunStatement(script, i, top);
    } catch (const ScriptConversionError&) {
      return kResultExit;
    }
    if (flow.leave)
      return flow.result;
    if (flow.next < 0)
      break;
    i = flow.next;
  }
  if (top && !state_.InstallationRunning && SameText(state_.CurrentPageName, "INSTALL")) {
    state_.CurrentPageName.clear();
    if (state_.Hooks.StartInstallation)
      state_.Hooks.StartInstallation();
  }
  return kResultNormal;
}

TScriptEngine::Flow TScriptEngine::RunStatement(const TScript& script, int index, bool top) {
  const TScriptStatement& statement = script.Statements[index];
  switch (statement.CommandCode()) {
    case kCmdIf:
      return RunIf(script, index, top);
    case kCmdFor:
      return RunFor(script, index, top);
    case kCmdWhile:
      return RunWhile(script, index, top);
    case kCmdForEachSelected:
      return RunForEach(script, index, top);
    case kCmdGoto:
      return RunGoto(script, index, top);
    case kCmdExit:
      return Flow::Leave(kResultExit);
    case kCmdBreak:
      return Flow::Leave(kResultBreak);
    default: {
      Flow flow = RunOther(statement);
      flow.next = index + 1;
      return flow;
    }
  }
}

TScriptEngine::Flow TScriptEngine::RunOther(const TScriptStatement& statement) {
  CommandContext context(state_, statement);
  if (!RunCommand(context) && state_.Hooks.PageCommandHandler) {
    state_.Hooks.PageCommandHandler(statement.CommandCode(), std::string(context.Raw(1)),
                                    std::string(context.Raw(2)), std::string(context.Raw(3)));
  }
  const uint8_t code = statement.CommandCode();
  if (code == kCmdCancel || code == kCmdFinish)
    return Flow::Leave(kResultAbort);
  return Flow::Next(0);
}

// Continuation after a block whose body run returned `result`.
TScriptEngine::Flow TScriptEngine::AfterBlock(int result, int end, bool top, bool is_if) {
  if (result == kResultAbort || result == kResultExit)
    return Flow::Leave(result);
  if (result == kResultBreak && is_if)
    return Flow::Leave(result);
  if (result == kResultJump) {
    return top ? Flow::Next(state_.JumpTarget + 1) : Flow::Leave(kResultJump);
  }
  return Flow::Next(end + 1);
}

TScriptEngine::Flow TScriptEngine::RunIf(const TScript& script, int index, bool top) {
  const std::string_view id = BlockId(script.Statements[index], 1);
  const int end = FindMarker(script, index, kCmdEndIf, id);
  if (end < 0 || depth_ >= kMaxDepth)
    return Flow::EndOfRange();
  int otherwise = FindMarker(script, index, kCmdElse, id);
  if (otherwise > end)
    otherwise = -1;
  int result = kResultNormal;
  if (EvaluateCondition(FieldText(script.Statements[index].Guard))) {
    result = RunScript(script, index + 1, (otherwise >= 0 ? otherwise : end) - 1, false);
  } else if (otherwise >= 0) {
    result = RunScript(script, otherwise + 1, end - 1, false);
  }
  return AfterBlock(result, end, top, true);
}

// The body of a loop block, run while `next_round` prepares another round.
TScriptEngine::Flow TScriptEngine::RunLoop(const TScript& script,
                                           int index,
                                           int end,
                                           bool top,
                                           const std::function<bool()>& next_round) {
  int result = kResultNormal;
  while (next_round()) {
    if (!Step())
      return Flow::Leave(kResultExit);
    result = RunScript(script, index + 1, end - 1, false);
    if (LoopShouldStop(result))
      break;
  }
  return AfterBlock(result, end, top, false);
}

TScriptEngine::Flow TScriptEngine::RunFor(const TScript& script, int index, bool top) {
  const TScriptStatement& opener = script.Statements[index];
  const int end = FindMarker(script, index, kCmdEndFor, BlockId(opener, 4));
  if (end < 0 || depth_ >= kMaxDepth)
    return Flow::EndOfRange();
  CommandContext args(state_, opener);
  int64_t value = args.IntArg(2);
  const int64_t last = args.IntArg(3);
  return RunLoop(script, index, end, top, [&] {
    if (value > last)
      return false;
    state_.Vars.SetVariable(args.Raw(1), std::to_string(value++), false);
    return true;
  });
}

TScriptEngine::Flow TScriptEngine::RunWhile(const TScript& script, int index, bool top) {
  const TScriptStatement& opener = script.Statements[index];
  const int end = FindMarker(script, index, kCmdEndWhile, BlockId(opener, 1));
  if (end < 0 || depth_ >= kMaxDepth)
    return Flow::EndOfRange();
  return RunLoop(script, index, end, top,
                 [&] { return EvaluateCondition(FieldText(opener.Guard)); });
}

TScriptEngine::Flow TScriptEngine::RunForEach(const TScript& script, int index, bool top) {
  const TScriptStatement& opener = script.Statements[index];
  const int end = FindMarker(script, index, kCmdEndForEach, BlockId(opener, 3));
  if (end < 0 || depth_ >= kMaxDepth)
    return Flow::EndOfRange();
  CommandContext args(state_, opener);
  std::vector<ListItemState> items;
  if (state_.Hooks.FindListControl)
    items = state_.Hooks.FindListControl(args.Arg(2)).value_or(std::vector<ListItemState>{});
  size_t next = 0;
  return RunLoop(script, index, end, top, [&] {
    while (next < items.size() && !items[next].Selected)
      ++next;
    if (next == items.size())
      return false;
    state_.Vars.SetVariable(args.Raw(1), items[next++].Text, false);
    return true;
  });
}

TScriptEngine::Flow TScriptEngine::RunGoto(const TScript& script, int index, bool top) {
  const int label = FindMarker(script, -1, kCmdLabel, BlockId(script.Statements[index], 1));
  if (label < 0)
    return Flow::Next(index + 1);
  if (top)
    return Flow::Next(label);
  state_.JumpTarget = label - 1;
  return Flow::Leave(kResultJump);
}

}  // namespace kvb
