// Feeds arbitrary statements and guard conditions to the interpreter. The machine is the
// in-memory one of fuzz_machine.h; runs are bounded through the step hook, so endless
// loops and runaway variables end the run instead of the fuzzer.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz_machine.h"
#include "script/condition.h"
#include "script/script_engine.h"
#include "vars/variables.h"

namespace kvb {
namespace {

constexpr int kMaxStatements = 48;
constexpr int kMaxSteps = 3000;
constexpr size_t kMaxVariableBytes = 1 << 16;

const char* const kTokens[] = {
    "a",
    "b",
    "c",
    "%A%",
    "%B%",
    "%I%",
    "0",
    "1",
    "-1",
    "-",
    "1-2",
    "10",
    "2147483647",
    "-2147483648",
    "ff",
    "a, b, c",
    "%A%, x",
    "STRING",
    "INTEGER",
    "NAME",
    "PATH",
    "SIZE",
    "EXISTENCE",
    "VERSION",
    "DRIVE",
    "EXTENSION",
    "MAJOR",
    "FULL",
    "COMPANY",
    "ADDITION",
    "DIVISION",
    "REMAINDER",
    "MULTIPLICATION",
    "SUBTRACTION",
    "HKEY_CURRENT_USER",
    "HKEY_LOCAL_MACHINE",
    "HKEY_CLASSES_ROOT",
    "\\Key\\",
    "QUESTION",
    "f.txt",
    "\"s\", 1, -2",
    "%SETUPCOMPONENTS%",
    "%A% = 1|",
    "%I% < 3|",
    "%A% != %B%|",
    "1.2 > 1.10|",
    "|",
    "INSTALL",
    "ab\r\ncd\r",
    "1234",
};

std::string Text(FuzzedDataProvider& data) {
  const uint8_t pick = data.ConsumeIntegral<uint8_t>();
  if (pick < std::size(kTokens))
    return kTokens[pick];
  return data.ConsumeRandomLengthString(32);
}

TScript MakeScript(FuzzedDataProvider& data) {
  TScript script;
  const int count = data.ConsumeIntegralInRange(0, kMaxStatements);
  for (int i = 0; i < count && data.remaining_bytes() > 0; ++i) {
    TScriptStatement statement;
    statement.Code = data.ConsumeIntegral<uint32_t>();
    const int args = data.ConsumeIntegralInRange(0, 5);
    for (int a = 0; a < args; ++a)
      statement.Args[a] = Text(data);
    if (data.ConsumeBool())
      statement.Guard = Text(data) + " " + Text(data);
    script.Statements.push_back(std::move(statement));
  }
  script.Count = static_cast<int32_t>(script.Statements.size());
  return script;
}

size_t VariableBytes(const Variables& vars) {
  size_t total = 0;
  for (const auto& [name, value] : vars.List().Items())
    total += name.size() + value.size();
  return total;
}

}  // namespace
}  // namespace kvb

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  using namespace kvb;
  FuzzedDataProvider data(bytes, size);
  const uint8_t flags = data.ConsumeIntegral<uint8_t>();
  Variables vars;
  vars.SelectedComponents = (flags & 0x40) ? "a|b" : "";
  FuzzHotSync hotsync;

  ScriptServices services;
  auto system = std::make_unique<FuzzSystem>();
  system->answer = flags & 0x20;
  services.Prompt = std::make_unique<FuzzPrompt>();
  services.Registry = std::make_unique<FuzzRegistry>();
  services.System = std::move(system);
  auto dll = std::make_unique<FuzzDll>();
  dll->fail = flags & 0x10;
  services.Dll = std::move(dll);
  if (flags & 0x01) {
    auto device = std::make_unique<FuzzDevice>();
    device->present = flags & 0x02;
    services.Device = std::move(device);
  }
  if (flags & 0x04)
    services.Http = std::make_unique<FuzzHttp>();
  if (flags & 0x08)
    services.HotSync = &hotsync;

  ScriptEngineOptions options;
  options.PackageHasComponents = flags & 0x40;
  options.RandomSeed = flags;
  TScriptEngine engine(vars, std::move(services), options);
  ScriptRuntime& state = engine.State();
  int steps = 0;
  state.StepHook = [&] { return ++steps < kMaxSteps && VariableBytes(vars) < kMaxVariableBytes; };
  state.CurrentPageName = (flags & 0x80) ? "INSTALL" : "";
  state.Hooks.PageCommandHandler = [](uint8_t, const std::string&, const std::string&,
                                      const std::string&) {};
  state.Hooks.StartInstallation = [&] { state.CurrentPageName = "INSTALL"; };
  const bool list_selected = data.ConsumeBool();
  state.Hooks.FindListControl = [&](const std::string& name) {
    return std::optional<std::vector<ListItemState>>(
        {{name, list_selected}, {"x", true}, {"", !list_selected}});
  };
  state.Hooks.DownloadNotification = [](HttpProgressEvent, uint64_t, uint64_t) {};

  const std::string condition = Text(data) + Text(data) + Text(data);
  EvaluateCondition(vars, condition, options.PackageHasComponents);

  const TScript script = MakeScript(data);
  engine.ExecuteScript(script);
  const int first = data.ConsumeIntegralInRange(-2, kMaxStatements);
  const int last = data.ConsumeIntegralInRange(-2, kMaxStatements + 2);
  steps = 0;
  engine.RunScript(script, first, last, data.ConsumeBool());
  return 0;
}
