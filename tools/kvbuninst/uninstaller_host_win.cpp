#include "tools/kvbuninst/uninstaller_host_win.h"

#include "base/message_pump.h"
#include "script/script_services_win.h"
#include "tools/kvbuninst/silent_prompt.h"
#include "ui/dialogs/copying_files_win.h"

namespace kvb {

std::string ResultMessage(const std::string& text, const std::vector<std::string>& not_removed) {
  std::string message = text;
  if (!not_removed.empty())
    message += "\n";
  for (size_t i = 0; i < not_removed.size() && i < kMaxListedItems; ++i)
    message += "\n" + not_removed[i];
  if (not_removed.size() > kMaxListedItems)
    message += "\n(" + std::to_string(not_removed.size() - kMaxListedItems) + " more)";
  return message;
}

WinUninstallerHost::WinUninstallerHost(bool silent)
    : vars_(&machine_info_), prompt_([this] { return Owner(); }) {
  ScriptServices services = CreateWin32ScriptServices([this] { return Owner(); });
  if (silent)
    services.Prompt = std::make_unique<SilentScriptPrompt>();
  scripts_ = std::make_unique<TScriptEngine>(vars_, std::move(services));
}

WinUninstallerHost::~WinUninstallerHost() = default;

HWND WinUninstallerHost::Owner() const {
  return progress_ ? progress_->Handle() : nullptr;
}

bool WinUninstallerHost::RunScript(const TScript& script) {
  return scripts_->ExecuteScript(script);
}

void WinUninstallerHost::ProcessMessages() {
  ProcessPendingMessages();
}

void WinUninstallerHost::ShowError(const std::string& caption, const std::string& text) {
  MessageBoxA(Owner(), text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
}

bool WinUninstallerHost::Confirm(const std::string& caption, const std::string& question) {
  return MessageBoxA(Owner(), question.c_str(), caption.c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void WinUninstallerHost::BeginProgress(const std::string& caption,
                                       const std::string& status,
                                       const std::string& button_caption,
                                       const TFontRecord& font) {
  progress_ = std::make_unique<TfrmCopyingFiles>(nullptr, caption);
  if (font.Size != 0)
    progress_->SetFont(font);
  progress_->ShowStatus(0, status, 0);
  progress_->SetCancelCaption(button_caption);
  progress_->SetCancelEnabled(false);
  progress_->CenterOnScreen();
  progress_->Show();
  progress_->Repaint();
  ProcessPendingMessages();
}

void WinUninstallerHost::SetProgress(size_t total, size_t done) {
  if (!progress_)
    return;
  if (total != maximum_) {
    maximum_ = total;
    progress_->ShowStatus(3, "", static_cast<int>(total));
  }
  progress_->ShowStatus(2, "", static_cast<int>(done));
}

void WinUninstallerHost::EndProgress() {
  progress_.reset();
}


void WinUninstallerHost::ShowResult(const std::string& caption,
                                    const std::string& text,
                                    const std::vector<std::string>& not_removed) {
  const UINT icon = not_removed.empty() ? MB_ICONINFORMATION : MB_ICONEXCLAMATION;
  MessageBoxA(Owner(), ResultMessage(text, not_removed).c_str(), caption.c_str(), MB_OK | icon);
}

}  // namespace kvb
