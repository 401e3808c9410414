// TfrmSetupMain: the page commands scripts send the wizard, the secondary dialogs and
// the directory selection.
#include "base/file_attributes_win.h"
#include "base/nearest_folder.h"
#include "base/text.h"
#include "ui/base/modal_result.h"
#include "ui/builder/control_rules.h"
#include "ui/builder/dialog_builder_win.h"
#include "ui/dialogs/directory_sel_win.h"
#include "ui/wizard/page_order.h"
#include "ui/wizard/secondary_dialog_win.h"
#include "ui/installation/installation_run_win.h"
#include "ui/wizard/wizard_form_win.h"
#include "vars/variables.h"

namespace kvb {

namespace {

enum PageCommand : uint8_t {
  kCommandCancel = 15,
  kCommandNextPage = 16,
  kCommandPreviousPage = 17,
  kCommandGoToPage = 18,
  kCommandSecondaryDialog = 19,
  kCommandSelectDirectory = 20,
  kCommandRefresh = 21,
  kCommandStoreValues = 22,
  kCommandInstall = 23,
  kCommandExit = 25,
  kCommandAddItem = 33,
  kCommandClearList = 34,
  kCommandUninstallProduct = 58,
  kCommandShowWizard = 60,
  kCommandSelectAll = 91,
  kCommandDeselectAll = 92,
  kCommandSelectListed = 93,
  kCommandSortList = 99,
  kCommandFillLanguages = 100,
  kCommandEnableButtons = 101,
  kCommandDisableButtons = 102,
};

// Commands that act on the open panel and need a page shown.
bool NeedsPage(uint8_t code) {
  switch (code) {
    case kCommandRefresh:
    case kCommandStoreValues:
    case kCommandAddItem:
    case kCommandClearList:
    case kCommandSelectAll:
    case kCommandDeselectAll:
    case kCommandSelectListed:
    case kCommandSortList:
    case kCommandFillLanguages:
    case kCommandEnableButtons:
    case kCommandDisableButtons:
      return true;
    default:
      return false;
  }
}

// Shown by the install command while this program has no installation to run.
constexpr char kInstallationUnavailable[] = "The installation is not available in this setup.";

}  // namespace

void TfrmSetupMain::PageCommandHandler(uint8_t code,
                                       const std::string& p1,
                                       const std::string& p2,
                                       const std::string& p3) {
  if (closing_ == 1 || Ended() || code < 15 || code > 102)
    return;
  if (NeedsPage(code) && (!current_dialog_ || !page_panel_))
    return;
  switch (code) {
    case kCommandCancel:
      if (uninstalling_) {
        finishing_ = true;
        Close();
      } else if (!in_secondary_) {
        finishing_ = false;
        Close();
      } else if (secondary_) {
        secondary_->Close();
      }
      break;
    case kCommandNextPage:
      ShowPage(NextPageName());
      break;
    case kCommandPreviousPage:
      ShowPage(PreviousPageName());
      break;
    case kCommandGoToPage:
      ShowPage(p1);
      navigated_ = true;
      break;
    case kCommandSecondaryDialog:
      ShowSecondaryDialog(p1);
      break;
    case kCommandSelectDirectory:
      SelectDirectory(p1);
      break;
    case kCommandRefresh:
      RefreshControls(OpenPanel(), p1 == "1", "", 0, p2 == "1");
      break;
    case kCommandStoreValues:
      StoreOpenPanel();
      break;
    case kCommandInstall:
      StartInstallation();
      break;
    case kCommandExit:
      finishing_ = true;
      Close();
      break;
    case kCommandAddItem:
      ListCommand(ListOperation::kAddItem, Expand(p1), Expand(p2));
      break;
    case kCommandClearList:
      ListCommand(ListOperation::kClear, Expand(p1), "");
      break;
    case kCommandUninstallProduct:
      UninstallProduct(p1, Expand(p2), Expand(p3));
      break;
    case kCommandShowWizard:
      if (secondary_)
        secondary_->Show();
      else
        Show();
      if (TWindow* panel = OpenPanel())
        panel->Repaint();
      break;
    case kCommandSelectAll:
      ListCommand(ListOperation::kSelectAll, Expand(p1), "");
      break;
    case kCommandDeselectAll:
      ListCommand(ListOperation::kDeselectAll, Expand(p1), "");
      break;
    case kCommandSelectListed:
      ListCommand(ListOperation::kSelectListed, Expand(p1), Expand(p2));
      break;
    case kCommandSortList:
      ListCommand(ListOperation::kSort, Expand(p1), "");
      break;
    case kCommandFillLanguages:
      ListCommand(ListOperation::kFillLanguages, Expand(p1), "");
      break;
    case kCommandEnableButtons:
    case kCommandDisableButtons:
      binding_->EnableButtons(*OpenPanel(), Expand(p1), code == kCommandEnableButtons);
      break;
    default:
      break;
  }
  (void)p3;
}

void TfrmSetupMain::ListCommand(ListOperation operation,
                                const std::string& name,
                                const std::string& item) {
  binding_->ListCommand(*OpenPanel(), operation, name, item);
}

void TfrmSetupMain::StoreOpenPanel() {
  if (TWindow* panel = OpenPanel())
    binding_->StoreControlValues(*panel);
}

void TfrmSetupMain::ShowSecondaryDialog(const std::string& name) {
  const TSetupDialog* dialog = FindDialog(env_.Data->Dialogs, name);
  if (!dialog)
    return;
  HCURSOR cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  TfrmSecondaryDialog form(Handle());
  secondary_ = &form;
  secondary_dialog_ = dialog;
  in_secondary_ = true;
  auto run = [&] {
    if (!RunDialogScript(*dialog, kBeforeScript) || Ended())
      return;
    form.OnFirstShown = [this, dialog] {
      return !ScriptStopped(env_.Scripts->ExecuteScript(dialog->Scripts[kShownScript]));
    };
    form.SetCaption(Expand(dialog->Title));
    form.Panel().SetFont(SystemFontRequested() ? DefaultFont() : dialog->Font);
    form.SetDialogSize(dialog->Width, dialog->Height);
    form.CenterOnScreen();
    building_ = true;
    BuildControls(SanitizePageName(dialog->Name), form.Panel(), form, dialog->Controls,
                  PageCallbacks());
    building_ = false;
    if (!RunDialogScript(*dialog, kBuiltScript) || Ended())
      return;
    binding_->CheckRadioButtons(form.Panel());
    if (form.ShowModal() == kMrAbort || Ended())
      return;
    if (!RunDialogScript(*dialog, kLeaveScript) || Ended())
      return;
    binding_->StoreControlValues(form.Panel());
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  };
  run();
  secondary_ = nullptr;
  secondary_dialog_ = nullptr;
  in_secondary_ = false;
  SetCursor(cursor);
}

void TfrmSetupMain::SelectDirectory(const std::string& variable) {
  DirectorySelTexts texts;
  texts.Caption = Message(kMessageSelectFolderCaption);
  texts.Directory = Message(47);
  texts.Directories = Message(48);
  texts.Drives = Message(49);
  texts.Ok = Message(0);
  texts.Cancel = Message(1);
  DialogContext context;
  context.Owner = Handle();
  context.Font = DefaultFont();
  context.Title = env_.ApplicationTitle ? env_.ApplicationTitle() : "";
  if (env_.ShowMessage)
    context.ShowMessage = [this](HWND, const std::string& text, UINT icon) {
      env_.ShowMessage(text, icon);
    };
  TfrmDirectorySel dialog(context, texts);
  const std::string value = Expand(variable);
  dialog.SetStartFolder(NearestExistingFolder(value, Expand("%WinDir%"),
                                              [](const std::string& f) { return IsFolder(f); }));
  dialog.SetDirectoryText(value);
  if (dialog.ShowModal() == kMrOk && !Ended())
    env_.Vars->SetVariable(variable, ExcludeTrailingBackslash(dialog.Directory()));
}

void TfrmSetupMain::StartInstallation() {
  if (installed_)
    return;
  if (installation_) {
    installation_->StartInstallation();
    installed_ = installation_->Installed();
    return;
  }
  if (env_.StartInstallation) {
    env_.StartInstallation(*this);
    return;
  }
  ShowMessageBox(kInstallationUnavailable, MB_ICONINFORMATION);
}

void TfrmSetupMain::UninstallProduct(const std::string& result_variable,
                                     const std::string& software_name,
                                     const std::string& company_name) {
  // Without an installation run nothing can be removed: the removal reports failure
  // rather than success.
  if (installation_)
    installation_->UninstallProduct(result_variable, software_name, company_name);
  else
    env_.Vars->SetVariable(result_variable, "0");
}

void TfrmSetupMain::ReturnFromInstall() {
  if (SameText(current_name_, kInstallPageName) && closing_ != 1 && !Ended())
    ShowPage(page_before_install_);
}

}  // namespace kvb
