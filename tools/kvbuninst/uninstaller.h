// The uninstaller program's run: read the log, make sure it belongs to the installed
// product, ask, run the log's before script, remove with a progress window, run the
// after script, remove the installed-programs entry, the log and the empty installation
// folder, say what stayed, and delete the program's own file when no other product needs
// it. Portable: the windows, the machine and the script interpreter are behind
// UninstallerHost.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "setupdata/records.h"
#include "tools/kvbuninst/uninstaller_options.h"
#include "uninstall/removal_machine.h"

namespace kvb {

class Variables;

// Exit codes of kvbuninst.exe. 1 is never used, so a generic failure is not taken for
// one of these.
enum UninstallerExit : int {
  kUninstallDone = 0,  // everything was removed
  kUninstallBadCommandLine = 2,
  kUninstallLogUnusable = 3,  // missing, unreadable, damaged or not an uninstall log
  kUninstallForeignLog = 4,   // the installed product's entry names another log
  kUninstallCancelled = 5,    // the user said no, or the before script stopped it
  kUninstallAlreadyRunning = 6,
  kUninstallIncomplete = 7,  // removed, but some items stayed (listed to the user)
  kUninstallFailed = 8,      // the log lists no items; nothing was removed
};

// Caption of the messages shown before a log's texts are known.
inline constexpr char kUninstallerTitle[] = "Kalvenbrooker Uninstaller";

class UninstallerHost {
 public:
  virtual ~UninstallerHost() = default;
  virtual RemovalMachine& Machine() = 0;
  // The variable store the log is read into; the scripts work on it.
  virtual Variables& Vars() = 0;
  // Runs one of the log's scripts; false when it stopped.
  virtual bool RunScript(const TScript& script) = 0;
  virtual void ProcessMessages() = 0;

  // The windows; none of them is used in a silent run.
  virtual void ShowError(const std::string& caption, const std::string& text) = 0;
  // Yes/No question; true for Yes.
  virtual bool Confirm(const std::string& caption, const std::string& question) = 0;
  // The copying-progress window; its button stays disabled (a removal half done is worse
  // than one finished) and carries `button_caption`.
  virtual void BeginProgress(const std::string& caption,
                             const std::string& status,
                             const std::string& button_caption,
                             const TFontRecord& font) = 0;
  virtual void SetProgress(size_t total, size_t done) = 0;
  virtual void EndProgress() = 0;
  virtual FileActionPrompt* Prompt() = 0;
  // HotSync conduit registrations; none: conduit items stay and are reported.
  virtual ConduitRemover* Conduits() = 0;
  // The final message, with the list of what stayed (empty when everything went).
  virtual void ShowResult(const std::string& caption,
                          const std::string& text,
                          const std::vector<std::string>& not_removed) = 0;
};

struct UninstallerOutcome {
  int ExitCode = kUninstallDone;
  // In the temporary copy: the product is removed and no other product's uninstall
  // command names the program the copy was made of, so that program may go.
  bool OriginalUnused = false;
};

// The whole run.
UninstallerOutcome RunUninstaller(const UninstallerOptions& options, UninstallerHost& host);

// True when the uninstall command of an installed product other than the one removed
// names `program` (compared without regard to case).
bool ProgramStillNeeded(RemovalMachine& machine, const std::string& program);

}  // namespace kvb
