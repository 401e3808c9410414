#include "tools/kvbuninst/uninstaller.h"

#include <algorithm>

#include "base/text.h"
#include "uninstall/product_removal.h"
#include "uninstall/uninstall_entry.h"
#include "uninstall/uninstaller_state.h"
#include "vars/command_line.h"
#include "vars/variables.h"

namespace kvb {
namespace {

class UninstallerRun {
 public:
  UninstallerRun(const UninstallerOptions& options, UninstallerHost& host)
      : options_(options), host_(host), machine_(host.Machine()), vars_(host.Vars()) {}

  UninstallerOutcome Run() {
    UninstallerOutcome outcome;
    outcome.ExitCode = Remove();
    const bool removed =
        outcome.ExitCode == kUninstallDone || outcome.ExitCode == kUninstallIncomplete;
    outcome.OriginalUnused =
        removed && !options_.CopyOf.empty() && !ProgramStillNeeded(machine_, options_.CopyOf);
    return outcome;
  }

 private:
  int Remove() {
    if (!options_.Error.empty()) {
      Error(kUninstallerTitle, options_.Error + "\n\n" + UninstallerUsage());
      return kUninstallBadCommandLine;
    }
    if (options_.Help) {
      Error(kUninstallerTitle, UninstallerUsage());
      return kUninstallDone;
    }
    TUninstallLog log;
    if (const std::optional<std::string> problem = LoadUninstallLog(options_.LogPath, log)) {
      Error(kUninstallerTitle, *problem);
      return kUninstallLogUnusable;
    }
    entry_ = UninstallEntryKey(log.SoftwareName, log.CompanyName);
    if (!BelongsToInstalledProduct(log))
      return kUninstallForeignLog;
    ApplyUninstallLog(log, product_, texts_, data_, vars_);
    caption_ = Text(kTextTitle);
    if (!options_.Silent && !host_.Confirm(caption_, Text(kTextConfirm)))
      return kUninstallCancelled;
    const ProductRemovalResult result = RemoveItemsOfLog();
    if (!result.Started)
      return kUninstallCancelled;
    if (!result.Removed)
      return Finish(result, kUninstallFailed);
    CleanUp();
    return Finish(result, product_.NotRemoved.empty() ? kUninstallDone : kUninstallIncomplete);
  }

  // A log is foreign when the product it names is installed with another log: it is an
  // old or copied log, and removing by it would take away files of the installation.
  bool BelongsToInstalledProduct(const TUninstallLog& log) {
    const std::optional<std::string> command =
        machine_.ReadString(RegRoot::kLocalMachine, entry_, "UninstallString");
    if (!command)
      return true;  // no entry: an interrupted removal may be finished
    const std::vector<std::string> parameters = SplitCommandLine(*command);
    if (parameters.size() > 1 && SameText(parameters[1], options_.LogPath))
      return true;
    Error(kUninstallerTitle, "The uninstall log \"" + options_.LogPath + "\" does not belong to " +
                                 log.CompanyName + " " + log.SoftwareName +
                                 " as it is installed now. Nothing was removed.");
    return false;
  }

  ProductRemovalResult RemoveItemsOfLog() {
    RemovalContext context(machine_, vars_, texts_, caption_);
    context.Prompt = options_.Silent ? nullptr : host_.Prompt();
    context.Conduits = host_.Conduits();
    context.ProcessMessages = [this] { host_.ProcessMessages(); };
    ProductRemovalHooks hooks;
    hooks.RunScript = [this](const TScript& script) { return host_.RunScript(script); };
    hooks.OnStart = [this](size_t) {
      if (!options_.Silent)
        host_.BeginProgress(caption_, vars_.ExpandText(texts_[kTextUninstalling], true),
                            vars_.ExpandText(texts_[kTextCancel], true), data_.Properties.Font);
    };
    hooks.Callbacks.OnProgress = [this](size_t total, size_t done) {
      if (!options_.Silent)
        host_.SetProgress(total, done);
      return true;
    };
    const ProductRemovalResult result = RemoveProduct(context, product_, hooks);
    if (result.Started && !options_.Silent)
      host_.EndProgress();
    return result;
  }

  // What the log does not list but goes with the product: the installed-programs entry,
  // the log itself and the installation folder when it is empty.
  void CleanUp() {
    machine_.DeleteKeyTree(RegRoot::kLocalMachine, entry_);
    // Logs of older setups may lack the item of the log itself.
    std::vector<std::string>& left = product_.NotRemoved;
    if (machine_.FileExists(options_.LogPath) && !machine_.RemoveFile(options_.LogPath) &&
        std::find(left.begin(), left.end(), options_.LogPath) == left.end()) {
      left.push_back(options_.LogPath);
    }
    const std::string folder = ExcludeTrailingBackslash(ExtractFilePath(options_.LogPath));
    if (!folder.empty() && machine_.FolderExists(folder))
      machine_.RemoveEmptyFolder(folder);
  }

  int Finish(const ProductRemovalResult& result, int code) {
    // An after script that stopped ends the run without the final message.
    if (!options_.Silent && !result.StoppedAfter) {
      const bool complete = result.Removed && product_.NotRemoved.empty();
      host_.ShowResult(caption_, Text(complete ? kTextCompleted : kTextIncomplete),
                       product_.NotRemoved);
    }
    return code;
  }

  std::string Text(int index) { return vars_.ExpandText(texts_[index]); }

  void Error(const std::string& caption, const std::string& text) {
    if (!options_.Silent)
      host_.ShowError(caption, text);
  }

  const UninstallerOptions& options_;
  UninstallerHost& host_;
  RemovalMachine& machine_;
  Variables& vars_;
  TSetupData data_;
  TSetupUninstallerData product_;
  TSetupUninstallerMsgs texts_;
  std::string entry_;
  std::string caption_ = kUninstallerTitle;
};

}  // namespace

UninstallerOutcome RunUninstaller(const UninstallerOptions& options, UninstallerHost& host) {
  return UninstallerRun(options, host).Run();
}

bool ProgramStillNeeded(RemovalMachine& machine, const std::string& program) {
  for (const std::string& name : machine.SubkeyNames(RegRoot::kLocalMachine, kUninstallRootKey)) {
    const std::optional<std::string> command = machine.ReadString(
        RegRoot::kLocalMachine, std::string(kUninstallRootKey) + "\\" + name, "UninstallString");
    if (!command)
      continue;
    const std::vector<std::string> parameters = SplitCommandLine(*command);
    if (!parameters.empty() && SameText(parameters[0], program))
      return true;
  }
  return false;
}

}  // namespace kvb
