#include "ui/installation/wizard_install_host_win.h"

#include "base/message_icon_win.h"
#include "base/message_pump.h"
#include "ui/base/modal_result.h"
#include "ui/dialogs/dialog_context_win.h"
#include "ui/dialogs/msg_box_files_win.h"
#include "ui/dialogs/need_disk_win.h"
#include "ui/installation/billboard_window_win.h"

namespace kvb {

WizardInstallHost::WizardInstallHost(InstallationWindow& window,
                                     ProgressDisplay& display,
                                     std::string title,
                                     TFontRecord font,
                                     std::string setup_path)
    : window_(window),
      display_(display),
      title_(std::move(title)),
      font_(std::move(font)),
      setup_path_(std::move(setup_path)) {}

WizardInstallHost::~WizardInstallHost() = default;

void WizardInstallHost::Status(StatusKind kind, const std::string& text, int value) {
  display_.Status(kind, text, value);
}

void WizardInstallHost::ShowMessage(const std::string& text, MessageIcon icon) {
  MessageBoxA(display_.Owner(), text.c_str(), title_.c_str(), MB_OK | MessageBoxIconFlag(icon));
}

PromptAnswer WizardInstallHost::AskFileOverwrite(const OverwritePrompt& prompt) {
  const OverwriteTexts texts = {.Caption = title_,
                                .Message = prompt.Message,
                                .Yes = prompt.YesCaption,
                                .YesToAll = prompt.YesToAllCaption,
                                .No = prompt.NoCaption,
                                .NoToAll = prompt.NoToAllCaption,
                                .Cancel = prompt.CancelCaption,
                                .ExistingLabel = prompt.ExistingLabel,
                                .DestinationLabel = prompt.DestinationLabel};
  const int result = kvb::AskFileOverwrite(display_.Owner(), texts, kFileInfoBoth,
                                           prompt.ExistingFile,
                                           {prompt.NewFileDate, prompt.NewFileSize});
  switch (result) {
    case kMrYes:
      return PromptAnswer::kYes;
    case kMrYesToAll:
      return PromptAnswer::kYesToAll;
    case kMrNo:
      return PromptAnswer::kNo;
    case kMrNoToAll:
      return PromptAnswer::kNoToAll;
    default:
      return PromptAnswer::kCancel;
  }
}

bool WizardInstallHost::RequestClose() {
  return window_.RequestClose();
}

std::optional<std::string> WizardInstallHost::AskNextDisk(const DiskPrompt& prompt) {
  DialogContext context;
  context.Owner = display_.Owner();
  context.Font = font_;
  context.Title = title_;
  const NeedDiskTexts texts = {.Caption = prompt.Title,
                               .Message = prompt.Prompt,
                               .PathLabel = prompt.PathLabel,
                               .Browse = prompt.BrowseCaption,
                               .Ok = prompt.OkCaption,
                               .Cancel = prompt.CancelCaption,
                               .NotFound = prompt.NotFoundText,
                               .FolderCaption = prompt.FolderTexts[0],
                               .FolderDirectory = prompt.FolderTexts[1],
                               .FolderDirectories = prompt.FolderTexts[2],
                               .FolderDrives = prompt.FolderTexts[3]};
  TfrmNeedDisk dialog(context, texts, setup_path_, prompt.Disk);
  dialog.SetPath(prompt.Folder);
  if (dialog.ShowModal() != kMrOk)
    return std::nullopt;
  return dialog.Path();
}

void WizardInstallHost::ShowBillboard(const std::string& bitmap_file) {
  if (!billboard_) {
    billboard_ = std::make_unique<TfrmBillboard>(
        window_.HasBackWindow() ? window_.Handle() : window_.ApplicationHandle(), title_);
  }
  billboard_->ShowPicture(bitmap_file, display_.Top());
}

void WizardInstallHost::CloseBillboard() {
  billboard_.reset();
}

bool WizardInstallHost::ProcessMessages() {
  return ProcessPendingMessages();
}

void WizardInstallHost::EndApplication() {
  window_.EndProgram();
}

}  // namespace kvb
