// The script interpreter: runs the package's statement lists with their control flow and
// dispatches every other statement to its command or to the wizard.
//
// Start-up creates one `TScriptEngine` for the whole run with the variable store and the
// machine services; the wizard installs its hooks and keeps `CurrentPageName` and
// `InstallationRunning` up to date. Runs may nest: commands that wait keep window messages
// flowing, so the wizard can start another script while one is running.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "devices/device_accessor.h"
#include "net/http_transport.h"
#include "script/script_services.h"
#include "script/text_file.h"
#include "setupdata/records.h"

namespace kvb {

class Variables;

// Results of a run.
enum ScriptResult : int {
  kResultAbort = 0,   // the wizard was asked to close or finish
  kResultNormal = 1,  // end of the statement range
  kResultExit = 2,    // EXIT ran (or an integer argument did not convert)
  kResultJump = 3,    // GOTO inside a block; JumpTarget holds the label's index minus one
  kResultBreak = 4,   // BREAK: the innermost loop ends
};

// One item of a list box, as FOREACHSELECTED sees it.
struct ListItemState {
  std::string Text;
  bool Selected = false;
};

// Hooks the wizard installs. Each may be unset.
struct ScriptHooks {
  // Every statement the interpreter has no handler for, with its first three arguments as
  // written (unexpanded).
  std::function<
      void(uint8_t code, const std::string& a1, const std::string& a2, const std::string& a3)>
      PageCommandHandler;
  // Called when a top-level run ends while the page "INSTALL" is shown and no installation
  // runs, so that the page is never left standing without one.
  std::function<void()> StartInstallation;
  // The items of the list box with this list name on the open page, or nullopt when there
  // is none. Taken once when FOREACHSELECTED starts.
  std::function<std::optional<std::vector<ListItemState>>(const std::string& name)> FindListControl;
  // The wizard's download progress display.
  std::function<void(HttpProgressEvent event, uint64_t received, uint64_t announced)>
      DownloadNotification;
};

struct ScriptEngineOptions {
  bool PackageHasComponents = false;  // for %SETUPCOMPONENTS% in conditions
  uint32_t RandomSeed = 0;
  char DecimalSeparator = '.';  // of formatted sizes
  // Document fetched by ONLINECHECK.
  std::string OnlineCheckUrl = "http://www.kalvenbrooker.com/check.txt";
};

// State shared by every run and every command of the setup.
struct ScriptRuntime {
  ScriptRuntime(Variables& variables, ScriptServices services, const ScriptEngineOptions& options);

  Variables& Vars;
  ScriptServices Services;
  ScriptHooks Hooks;
  ScriptEngineOptions Options;

  std::string CurrentPageName;  // written by the wizard
  bool InstallationRunning = false;
  int JumpTarget = -1;

  ScriptTextFile OpenFile;  // the desktop text file of FILEOPEN .. FILECLOSE
  RegistryRoot RegRoot = RegistryRoot::kCurrentUser;
  uint32_t DeviceRegRoot = kDeviceCurrentUser;  // the device's root persists on its own
  std::mt19937 Random;

  // Called before every statement and loop iteration; returning false ends the run as EXIT
  // does. Unset in the setup program; tests and the fuzz target bound their runs with it.
  std::function<bool()> StepHook;
};

class TScriptEngine {
 public:
  TScriptEngine(Variables& variables,
                ScriptServices services,
                const ScriptEngineOptions& options = {});
  TScriptEngine(const TScriptEngine&) = delete;
  TScriptEngine& operator=(const TScriptEngine&) = delete;

  ScriptRuntime& State() { return state_; }

  // Runs the whole script at top level; false only when the run ended with kResultAbort.
  bool ExecuteScript(const TScript& script);
  // Runs statements first..last (indexes from 0) and returns a ScriptResult.
  int RunScript(const TScript& script, int first, int last, bool top);
  bool EvaluateCondition(std::string_view condition);

  // Nested block levels above which an opener counts as malformed.
  static constexpr int kMaxDepth = 200;

 private:
  struct Flow;
  Flow RunStatement(const TScript& script, int index, bool top);
  Flow RunIf(const TScript& script, int index, bool top);
  Flow RunFor(const TScript& script, int index, bool top);
  Flow RunWhile(const TScript& script, int index, bool top);
  Flow RunForEach(const TScript& script, int index, bool top);
  Flow RunGoto(const TScript& script, int index, bool top);
  Flow RunOther(const TScriptStatement& statement);
  Flow AfterBlock(int result, int end, bool top, bool is_if);
  Flow RunLoop(const TScript& script,
               int index,
               int end,
               bool top,
               const std::function<bool()>& next_round);
  bool Step();

  ScriptRuntime state_;
  int depth_ = 0;
};

}  // namespace kvb
