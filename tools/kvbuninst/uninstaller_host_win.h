// The uninstaller's windows and machine on Windows: message boxes for the confirmation,
// errors and the final message, the copying-progress window, the four-button file
// question, the real files and registry, and the script interpreter for the log's scripts.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "devices/hotsync_conduit_remover_win.h"
#include "script/script_engine.h"
#include "tools/kvbuninst/uninstaller.h"
#include "uninstall/removal_machine_win.h"
#include "vars/variables.h"
#include "vars/windows_machine_win.h"

namespace kvb {

class TfrmCopyingFiles;

// The most entries of the not-removed list a final message names; a longer list ends with
// how many more there are.
inline constexpr size_t kMaxListedItems = 20;

// The final message's text: `text`, then the entries of `not_removed`, one a line.
std::string ResultMessage(const std::string& text, const std::vector<std::string>& not_removed);

class WinUninstallerHost final : public UninstallerHost, private FileActionPrompt {
 public:
  explicit WinUninstallerHost(bool silent);
  ~WinUninstallerHost() override;

  RemovalMachine& Machine() override { return machine_; }
  Variables& Vars() override { return vars_; }
  bool RunScript(const TScript& script) override;
  void ProcessMessages() override;
  void ShowError(const std::string& caption, const std::string& text) override;
  bool Confirm(const std::string& caption, const std::string& question) override;
  void BeginProgress(const std::string& caption,
                     const std::string& status,
                     const std::string& button_caption,
                     const TFontRecord& font) override;
  void SetProgress(size_t total, size_t done) override;
  void EndProgress() override;
  FileActionPrompt* Prompt() override { return this; }
  ConduitRemover* Conduits() override { return &conduits_; }
  void ShowResult(const std::string& caption,
                  const std::string& text,
                  const std::vector<std::string>& not_removed) override;

 private:
  FileAnswer Ask(const FileActionQuestion& question) override;
  HWND Owner() const;

  WindowsMachine machine_info_;
  Variables vars_;
  WinRemovalMachine machine_;
  HotSyncConduitRemover conduits_;
  std::unique_ptr<TScriptEngine> scripts_;
  std::unique_ptr<TfrmCopyingFiles> progress_;
  size_t maximum_ = 0;
};

}  // namespace kvb
