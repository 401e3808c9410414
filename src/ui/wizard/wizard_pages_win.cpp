// TfrmSetupMain: showing pages, their style panels, and keeping their controls bound.
#include <algorithm>

#include "base/text.h"
#include "ui/builder/control_rules.h"
#include "ui/builder/dialog_builder_win.h"
#include "ui/controls/ps_graphic_controls_win.h"
#include "ui/controls/ps_list_controls_win.h"
#include "ui/controls/ps_text_controls_win.h"
#include "ui/wizard/page_order.h"
#include "ui/wizard/secondary_dialog_win.h"
#include "ui/wizard/wizard_form_win.h"
#include "vars/variables.h"

namespace kvb {

namespace {

// The hourglass while a page is prepared; the previous cursor comes back at the end.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

// Controls that take the focus when a page shows: not buttons or radio buttons, and
// none of the classes that never take it.
bool TakesFirstFocus(TWindow& control) {
  if (dynamic_cast<TPSButton*>(&control) || dynamic_cast<TPSRadioButton*>(&control) ||
      dynamic_cast<TPSLabel*>(&control) || dynamic_cast<TPSImage*>(&control) ||
      dynamic_cast<TPSImageButton*>(&control) || dynamic_cast<TPSFrame*>(&control) ||
      dynamic_cast<TPSShape*>(&control) || dynamic_cast<TPSLine*>(&control) ||
      dynamic_cast<TPSProgress*>(&control)) {
    return false;
  }
  return control.CanFocus();
}

}  // namespace

std::string TfrmSetupMain::NextPageName() const {
  return kvb::NextPageName(env_.Data->Dialogs, {current_name_, page_before_install_});
}

std::string TfrmSetupMain::PreviousPageName() const {
  return kvb::PreviousPageName(env_.Data->Dialogs, {current_name_, page_before_install_});
}

bool TfrmSetupMain::ScriptStopped(bool go_on) const {
  return !go_on && Expand("%CanClose%") != "0";
}

bool TfrmSetupMain::RunDialogScript(const TSetupDialog& dialog, DialogScript which) {
  return !ScriptStopped(env_.Scripts->ExecuteScript(dialog.Scripts[which]));
}

bool TfrmSetupMain::RunGlobalScript(int slot) {
  return !ScriptStopped(env_.Scripts->ExecuteScript(env_.Data->Scripts[slot]));
}

bool TfrmSetupMain::ShowPage(const std::string& name) {
  if (Ended())
    return false;
  if (name.empty()) {
    Hide();
    return false;
  }
  const TSetupDialog* page = FindDialog(env_.Data->Dialogs, name);
  if (name == current_name_ || !page || page->Type != 0)
    return false;

  navigated_ = false;
  // A page that is being left is not left again by a move its leave script makes.
  if (current_dialog_ && !leaving_) {
    leaving_ = true;
    const bool go_on = RunDialogScript(*current_dialog_, kLeaveScript);
    leaving_ = false;
    if (!go_on || navigated_ || Ended())
      return false;
    if (page_panel_)
      binding_->StoreControlValues(*page_panel_);
  }
  if (SameText(name, kInstallPageName))
    page_before_install_ = current_name_;

  WaitCursor wait;
  current_dialog_ = page;
  current_name_ = page->Name;
  env_.Scripts->State().CurrentPageName = page->Name;
  Hide();

  // A script may move on to another page itself (the page "INSTALL" without an
  // installation returns at once): this page is then no longer the one to show.
  if (!RunDialogScript(*page, kBeforeScript) || navigated_ || current_dialog_ != page || Ended())
    return false;

  const SIZE client = ClientSize();
  if (client.cx != page->Width || client.cy != page->Height) {
    SetClientSize(page->Width, page->Height);
    CenterOnScreen();
  }
  const std::string prefix = SanitizePageName(page->Name);
  style_host_ = StyleHostFor(page->Style);
  bool created = false;
  TPanel& panel = PagePanelOn(*style_host_, prefix, created);
  page_panel_ = &panel;

  SetCaption(Expand(page->Title));
  binding_->ClearComponentDescription();
  building_ = true;
  if (created)
    BuildPage(*page, panel, prefix);
  else
    RefreshControls(&panel, true, "", 0, false);
  page_panel_count_ = panel.ControlCount();
  style_host_count_ = style_host_->ControlCount();
  binding_->CheckRadioButtons(panel);
  building_ = false;

  if (!RunDialogScript(*page, kBuiltScript) || current_dialog_ != page || Ended())
    return false;

  panel.Show();
  Show();
  FocusFirstControl();
  env_.Scripts->ExecuteScript(page->Scripts[kShownScript]);
  return true;
}

void TfrmSetupMain::FocusFirstControl() {
  if (!Visible() || !page_panel_)
    return;
  for (size_t i = 0; i < page_panel_->ControlCount(); ++i) {
    TWindow* control = page_panel_->Control(i);
    if (TakesFirstFocus(*control)) {
      control->SetFocus();
      return;
    }
  }
}

TWindow* TfrmSetupMain::StyleHostFor(const std::string& style) {
  const TSetupDialog* dialog = style.empty() ? nullptr : FindDialog(env_.Data->Dialogs, style);
  if (!dialog)
    return this;
  const std::string name = "Style_" + SanitizePageName(style);
  TPanel* panel = nullptr;
  for (size_t i = 0; i < ControlCount(); ++i) {
    auto* candidate = dynamic_cast<TPanel*>(Control(i));
    if (!candidate)
      continue;
    if (!panel && SameText(candidate->Name(), name))
      panel = candidate;
    else
      candidate->Hide();
  }
  if (!panel) {
    panel = &Own(std::make_unique<TPanel>(*this, 0, 0, dialog->Width, dialog->Height));
    panel->SetName(name);
    panel->SetFont(SystemFontRequested() ? DefaultFont() : dialog->Font);
    BuildCallbacks callbacks = PageCallbacks();
    callbacks.OnStyleSpace = [this](const std::string& prefix, int left, int top, int height,
                                    int width) {
      const bool known = std::any_of(style_spaces_.begin(), style_spaces_.end(),
                                     [&](const StyleSpace& s) { return s.Name == prefix; });
      if (!known)
        style_spaces_.push_back({prefix, left, top, width, height});
    };
    BuildControls(name, *panel, *this, dialog->Controls, callbacks);
  } else {
    RefreshControls(panel, false, "", 0, false);
  }
  panel->Show();
  return panel;
}

TPanel& TfrmSetupMain::PagePanelOn(TWindow& host, const std::string& prefix, bool& created) {
  TPanel* found = nullptr;
  for (size_t i = 0; i < host.ControlCount(); ++i) {
    auto* candidate = dynamic_cast<TPanel*>(host.Control(i));
    if (!candidate)
      continue;
    if (!found && candidate->Name() == prefix)
      found = candidate;
    else
      candidate->Hide();
  }
  created = found == nullptr;
  if (!found) {
    found = &host.Own(std::make_unique<TPanel>(host, 0, 0, 0, 0));
    found->SetName(prefix);
  }
  return *found;
}

void TfrmSetupMain::BuildPage(const TSetupDialog& page, TPanel& panel, const std::string& prefix) {
  panel.SetFont(SystemFontRequested() ? DefaultFont() : page.Font);
  if (style_host_ != this) {
    StyleSpace bounds{"", -1, -1, -1, -1};
    for (const StyleSpace& space : style_spaces_) {
      if (space.Name == style_host_->Name()) {
        bounds = space;
        break;
      }
    }
    panel.SetBounds(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
  } else {
    panel.SetBounds(0, 0, page.Width, page.Height);
  }
  BuildControls(prefix, panel, *style_host_, page.Controls, PageCallbacks());
}

BuildCallbacks TfrmSetupMain::PageCallbacks() {
  BuildCallbacks callbacks;
  callbacks.ResolvePicture = [this](const std::string& name) {
    return Expand("%TempSetupDir%\\") + name;
  };
  callbacks.OnControlEvent = [this](TWindow& control) { ControlEvent(control); };
  callbacks.OnControlCreated = [this](TWindow& control) {
    binding_->InitControl(control, true, "", 0, false);
  };
  callbacks.DefaultFont = DefaultFont();
  callbacks.KeepDefaultFace = SystemFontRequested();
  return callbacks;
}

void TfrmSetupMain::ControlEvent(TWindow& control) {
  if (Ended())
    return;
  binding_->ControlEvent(control,
                         [this](const TScript& script) { env_.Scripts->ExecuteScript(script); });
}

std::vector<TWindow*> TfrmSetupMain::PageControls() const {
  std::vector<TWindow*> controls;
  if (style_host_ && style_host_ != this) {
    const size_t count = std::min(style_host_count_, style_host_->ControlCount());
    for (size_t i = 0; i < count; ++i)
      controls.push_back(style_host_->Control(i));
  }
  if (page_panel_) {
    const size_t count = std::min(page_panel_count_, page_panel_->ControlCount());
    for (size_t i = 0; i < count; ++i)
      controls.push_back(page_panel_->Control(i));
  }
  return controls;
}

void TfrmSetupMain::RefreshControls(TWindow* panel,
                                    bool initial,
                                    const std::string& variable,
                                    uint8_t role,
                                    bool repaint_background) {
  const std::string title = Expand(env_.Data->Properties.Title);
  if (env_.SetApplicationTitle)
    env_.SetApplicationTitle(title);
  if (current_dialog_)
    SetCaption(Expand(current_dialog_->Title));
  if (secondary_ && secondary_dialog_)
    secondary_->SetCaption(Expand(secondary_dialog_->Title));
  if (env_.Owner) {
    SetWindowTextA(env_.Owner, title.c_str());
    if (repaint_background)
      RedrawWindow(env_.Owner, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
  }

  const auto& hook = env_.Vars->Hooks.IsDirectoryVariableHook;
  const bool directory = !variable.empty() && hook && hook(variable);
  auto init = [&](TWindow& control) {
    if (role != 0)
      binding_->InitControl(control, initial, "", role, true);
    else if (directory)
      binding_->InitControl(control, initial, variable, 0, true);
    else
      binding_->InitControl(control, initial, "", 0, false);
  };
  for (TWindow* control : PageControls())
    init(*control);
  if (panel && panel != page_panel_) {
    for (size_t i = 0; i < panel->ControlCount(); ++i)
      init(*panel->Control(i));
  }
}

void TfrmSetupMain::VariableChanged(const std::string& name) {
  if (!current_dialog_ || Ended())
    return;
  const bool was_building = building_;
  building_ = true;
  const auto& hook = env_.Vars->Hooks.IsDirectoryVariableHook;
  if (SameText(name, "%INSTALLDIR%")) {
    for (uint8_t role : {kRoleInstallDirBox, kRoleFreeSpace, kRoleFolderTree, kRoleDriveList})
      RefreshControls(nullptr, false, "", role, false);
  } else if (SameText(name, "%PROGRAMGROUP%")) {
    RefreshControls(nullptr, false, "", kRoleProgramGroupBox, false);
  } else if (SameText(name, "%COMMONSHELLFOLDERS%")) {
    RefreshControls(nullptr, false, "", kRoleProgramGroupList, false);
  } else if (hook && hook(name)) {
    RefreshControls(nullptr, false, name, 0, false);
  }
  building_ = was_building;
}

}  // namespace kvb
