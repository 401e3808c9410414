#include "ui/wizard/wizard_form_win.h"

#include <algorithm>

#include "base/file_attributes_win.h"
#include "base/text.h"
#include "setupdata/messages.h"
#include "ui/base/graphics_win.h"
#include "ui/builder/program_icon_win.h"
#include "ui/controls/control_bitmaps_win.h"
#include "ui/controls/ps_graphic_controls_win.h"
#include "ui/controls/ps_list_controls_win.h"
#include "ui/controls/ps_text_controls_win.h"
#include "ui/builder/program_icon_win.h"
#include "ui/installation/installation_layout.h"
#include "ui/installation/installation_run_win.h"
#include "ui/wizard/page_order.h"
#include "ui/wizard/secondary_dialog_win.h"
#include "vars/variables.h"

namespace kvb {

namespace {

constexpr DWORD kWizardStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The volume file that holds the main archive when it is not in the program.
std::string FirstVolumeFile(const std::string& program) {
  const std::string ext = ExtractFileExt(program);
  return program.substr(0, program.size() - ext.size()) + ".001";
}

std::string ReplacePlaceholder(std::string text,
                               const std::string& placeholder,
                               const std::string& value) {
  for (size_t at = FindText(text, placeholder); at != std::string::npos;
       at = FindText(text, placeholder, at + value.size())) {
    text.replace(at, placeholder.size(), value);
  }
  return text;
}

}  // namespace

TfrmSetupMain::TfrmSetupMain(WizardEnvironment environment)
    : TForm({.ClassName = kWindowClass,
             .Caption = "*",
             .ClientWidth = 341,
             .ClientHeight = 80,
             .Style = kWizardStyle,
             // Unowned, it is the program's window in the taskbar.
             .ExStyle = static_cast<DWORD>(WS_EX_CONTROLPARENT |
                                           (environment.Owner ? 0 : WS_EX_APPWINDOW)),
             .Owner = environment.Owner}),
      env_(std::move(environment)),
      images_(16, 16) {
  // FormCreate.
  CreateBinding();
  default_font_ = SystemFontRequested() ? Font() : env_.Data->Properties.Font;
  style_host_ = this;
  RegisterCallbacks();
  if (env_.MakeInstallation)
    installation_ = env_.MakeInstallation(*this);
  if (!CheckRequirements())
    return;
  LoadComponentPictures();
  if (!env_.Data->StartupOptions[kUseBackWindow])
    StartWizard();
}

TfrmSetupMain::~TfrmSetupMain() {
  // Nothing may call back into a form that is gone.
  ScriptHooks& hooks = env_.Scripts->State().Hooks;
  hooks = ScriptHooks{};
  env_.Vars->OnVariableChanged = nullptr;
}

void TfrmSetupMain::CreateBinding() {
  BindingContext context;
  context.Vars = env_.Vars;
  context.Data = env_.Data;
  context.Images = &images_;
  context.ResolvePicture = [this](const std::string& name) {
    return Expand("%TempSetupDir%\\") + name;
  };
  context.Building = [this] { return building_; };
  context.PageControls = [this] { return PageControls(); };
  context.FreeSpaceKb = [this] { return FreeSpace(); };
  context.ProgramsFolder = env_.ProgramsFolder;
  context.ProgramIcon = ProgramIcon();
  context.RefreshRole = [this](uint8_t role) {
    building_ = true;
    RefreshControls(nullptr, false, "", role, false);
    building_ = false;
  };
  binding_ = std::make_unique<TControlBinding>(std::move(context));
  binding_->SetAllUsersSeen(env_.Vars->UseCommonShellFolders);
}

void TfrmSetupMain::RegisterCallbacks() {
  env_.Vars->OnVariableChanged = [this](const std::string& name, const std::string&) {
    VariableChanged(name);
  };
  ScriptHooks& hooks = env_.Scripts->State().Hooks;
  hooks.DownloadNotification = [this](HttpProgressEvent event, uint64_t received,
                                      uint64_t announced) {
    if (installation_) {
      installation_->DownloadNotification(event, received, announced);
      return;
    }
    const ProgressReport report = DownloadProgressReport(event, received, announced);
    ShowProgress(report.Kind, "", report.Value);
  };
}

bool TfrmSetupMain::CheckRequirements() {
  const bool in_volumes = env_.Header->Trailer.MainArchiveOffset <= 0;
  const std::string volume = FirstVolumeFile(env_.SetupProgramPath);
  const MachineFacts facts = env_.Machine ? env_.Machine() : MachineFacts{};
  const std::optional<RequirementFailure> failure =
      kvb::CheckRequirements(*env_.Data, in_volumes, in_volumes && IsFile(volume), facts);
  if (!failure)
    return true;
  ErrorProcedure(ReplacePlaceholder(Message(failure->Message), "<file>", ExtractFileName(volume)),
                 failure->ErrorCode);
  return !Ended();
}

void TfrmSetupMain::LoadComponentPictures() {
  if (!images_.Valid())
    return;
  UniqueBitmap folder = LoadControlBitmap("CLOSEDFOLDER");
  images_.AddMasked(folder.Get(), BottomLeftColor(folder.Get()));
  for (const TInstallerComponent& entry : env_.Data->Components) {
    const std::string& file = entry.Component.Text3;
    if (file.empty())
      continue;
    const std::string path = Expand("%TempSetupDir%\\" + file);
    if (!IsFile(path))
      continue;
    UniqueBitmap picture = LoadBitmapFile(path);
    if (picture)
      images_.AddMasked(picture.Get(), BottomLeftColor(picture.Get()));
  }
}

void TfrmSetupMain::StartWizard() {
  if (Ended())
    return;
  HCURSOR cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  ScriptHooks& hooks = env_.Scripts->State().Hooks;
  hooks.PageCommandHandler = [this](uint8_t code, const std::string& p1, const std::string& p2,
                                    const std::string& p3) {
    PageCommandHandler(code, p1, p2, p3);
  };
  hooks.StartInstallation = [this] { ReturnFromInstall(); };
  hooks.FindListControl =
      [this](const std::string& name) -> std::optional<std::vector<ListItemState>> {
    TPSListBox* list = FindListControl(name);
    if (!list)
      return std::nullopt;
    std::vector<ListItemState> items;
    for (int i = 0; i < list->Count(); ++i)
      items.push_back({list->ItemText(i), list->Selected(i)});
    return items;
  };
  const std::string first = FirstPageName(env_.Data->Dialogs);
  if (!first.empty()) {
    ShowPage(first);
    if (closing_ != 1 && !Ended()) {
      Show();
      if (page_panel_)
        page_panel_->SetFocus();
      FocusFirstControl();
    }
  } else {
    if (env_.StartInstallation)
      StartInstallation();
    EndProgram(WizardEnd::kFinished);
  }
  SetCursor(cursor);
}

std::string TfrmSetupMain::Message(int number, bool escape) const {
  const TVariableList& list = env_.Vars->List();
  const std::string language = list.GetItem(list.IndexOf("%Language%")).second;
  return Expand(GetMessageText(*env_.Data, number, language), escape);
}

std::string TfrmSetupMain::Expand(const std::string& text, bool escape) const {
  return env_.Vars->ExpandText(text, escape);
}

void TfrmSetupMain::ShowMessageBox(const std::string& text, UINT icon) {
  if (env_.ShowMessage) {
    env_.ShowMessage(text, icon);
    return;
  }
  const std::string title = env_.ApplicationTitle ? env_.ApplicationTitle() : "";
  MessageBoxA(IsWindowVisible(Handle()) ? Handle() : nullptr, text.c_str(), title.c_str(),
              MB_OK | icon);
}

void TfrmSetupMain::ErrorProcedure(const std::string& text, const std::string& code) {
  ShowMessageBox(text, MB_ICONERROR);
  Variables& vars = *env_.Vars;
  vars.SetVariable("%CanClose%", "1");
  vars.SetVariable("%IsFinishingSetup%", "0");
  vars.SetVariable("%ErrorCode%", code);
  env_.Scripts->ExecuteScript(env_.Data->Scripts[4]);
  if (Expand("%CanClose%") != "0")
    EndProgram(WizardEnd::kFailed);
}

void TfrmSetupMain::EndProgram(WizardEnd reason) {
  if (Ended())
    return;
  end_ = reason;
  closing_ = 1;
  Hide();
  PostQuitMessage(0);
}

uint64_t TfrmSetupMain::FreeSpace() {
  const std::string install_dir = Expand("%InstallDir%");
  const char letter = install_dir.empty() ? '?' : install_dir[0];
  const std::string root = std::string(1, letter) + ":\\";
  DWORD sectors = 0, bytes = 0, free_clusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &free_clusters, &clusters)) {
    ErrorProcedure(
        ReplacePlaceholder(Message(kMessageDriveUnreadable), "<drive>", std::string(1, letter)),
        "8");
    return 0;
  }
  return uint64_t{free_clusters} * sectors * bytes / 1024;
}

void TfrmSetupMain::ShowProgress(int kind, const std::string& text, int value) {
  if (!page_panel_)
    return;
  const size_t count = std::min(page_panel_count_, page_panel_->ControlCount());
  for (size_t i = 0; i < count; ++i) {
    TWindow* control = page_panel_->Control(i);
    if (auto* label = dynamic_cast<TPSLabel*>(control)) {
      const bool status = kind == kProgressStatus && label->Role() == 13;
      const bool detail = kind == kProgressDetail && label->Role() == 14;
      if (status || detail) {
        label->SetText(text);
        label->Repaint();
      }
    } else if (auto* bar = dynamic_cast<TPSProgress*>(control)) {
      if (kind == kProgressPosition)
        bar->SetPosition(value);
      else if (kind == kProgressMaximum)
        bar->SetMax(value);
    }
  }
  if (kind == kProgressMaximum)
    progress_max_ = value;
}

TPSListBox* TfrmSetupMain::FindListControl(const std::string& name) const {
  const TWindow* panel = OpenPanel();
  if (!panel)
    return nullptr;
  for (size_t i = 0; i < panel->ControlCount(); ++i) {
    auto* list = dynamic_cast<TPSListBox*>(panel->Control(i));
    if (list && SameText(list->ListName(), name))
      return list;
  }
  return nullptr;
}

TWindow* TfrmSetupMain::OpenPanel() const {
  if (secondary_)
    return &secondary_->Panel();
  return page_panel_;
}

TFontRecord TfrmSetupMain::DefaultFont() const {
  return default_font_;
}

bool TfrmSetupMain::SystemFontRequested() const {
  return env_.Data->StartupOptions[kKeepDefaultFont] != 0;
}

}  // namespace kvb
