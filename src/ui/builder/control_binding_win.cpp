#include "ui/builder/control_binding_win.h"

#include <algorithm>

#include "base/file_attributes_win.h"
#include "base/nearest_folder.h"
#include "base/size_text.h"
#include "base/text.h"
#include "ui/builder/control_rules.h"
#include "ui/builder/dialog_builder_win.h"
#include "ui/builder/program_icon_win.h"
#include "ui/controls/image_list_win.h"
#include "ui/controls/ps_graphic_controls_win.h"
#include "ui/controls/ps_list_controls_win.h"
#include "ui/controls/ps_text_controls_win.h"
#include "vars/variables.h"

namespace kvb {

namespace {

const std::string& S(const TPSControl& control, int number) {
  return control.Record().Strings[number - 1];
}

// Whether a file's `|` component list names `component`.
bool NamesComponent(const std::string& components, const std::string& component) {
  for (const std::string& name : SplitText(components, "|")) {
    if (!name.empty() && SameText(name, component))
      return true;
  }
  return false;
}

bool SameFolder(const std::string& a, const std::string& b) {
  return SameText(IncludeTrailingBackslash(a), IncludeTrailingBackslash(b));
}

std::vector<std::string> SubFolderNames(const std::string& folder) {
  std::vector<std::string> names;
  if (folder.empty())
    return names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((IncludeTrailingBackslash(folder) + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return names;
  do {
    const std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
      names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

}  // namespace

TControlBinding::TControlBinding(BindingContext context) : context_(std::move(context)) {}

bool TControlBinding::IsDirectoryVariable(const std::string& name) const {
  const auto& hook = context_.Vars->Hooks.IsDirectoryVariableHook;
  return !name.empty() && hook && hook(name);
}

std::string TControlBinding::Expand(const std::string& text, bool escape) const {
  return context_.Vars->ExpandText(text, escape);
}

void TControlBinding::InitControl(TWindow& control,
                                  bool initial,
                                  const std::string& var_filter,
                                  uint8_t role_filter,
                                  bool filtered) {
  const TPSControl* bound = ControlRecordOf(control);
  if (!bound)
    return;
  const uint8_t role = bound->Role();
  const bool selected = !filtered || role == role_filter;
  const bool filter_matches = role_filter == 0 && IsDirectoryVariable(var_filter) &&
                              SameText(var_filter, bound->Variable());

  if (auto* label = dynamic_cast<TPSLabel*>(&control)) {
    if (!selected)
      return;
    if (role == kRoleNone || role == kRoleStatusLine || role == kRoleDetailLine)
      label->SetText(Expand(S(*label, 1), true));
    else if (role == kRoleRequiredSpace)
      label->SetText(FormatSizeText(RequiredSpace(), SizeUnit::kBytes));
    else if (role == kRoleFreeSpace && context_.FreeSpaceKb)
      label->SetText(FormatSizeText(context_.FreeSpaceKb(), SizeUnit::kKilobytes));
    else if (role == kRoleComponentDescription)
      label->SetText(Expand(component_description_, true));
    return;
  }
  if (auto* edit = dynamic_cast<TPSEdit*>(&control)) {
    if (!(initial || filtered || !var_filter.empty()) || !selected)
      return;
    const std::string& variable = edit->Variable();
    if (role == kRoleNone) {
      if (filtered) {
        if (filter_matches)
          edit->SetText(Expand(variable));
      } else {
        edit->SetText(IsDirectoryVariable(variable) ? Expand(variable) : Expand(S(*edit, 1)));
      }
    } else if (role == kRoleProgramGroupBox) {
      edit->SetText(Expand("%ProgramGroup%"));
    } else if (role == kRoleInstallDirBox) {
      const std::string install_dir = Expand("%InstallDir%");
      if (!SameFolder(edit->Text(), install_dir))
        edit->SetText(install_dir);
    }
    return;
  }
  if (auto* button = dynamic_cast<TPSButton*>(&control)) {
    if (!filtered)
      button->SetText(Expand(S(*button, 1), true));
    return;
  }
  if (auto* box = dynamic_cast<TPSCheckBox*>(&control)) {
    if (filtered)
      return;
    box->SetText(Expand(S(*box, 1), true));
    if (initial)
      box->SetValue(Expand(S(*box, 3)));
    return;
  }
  if (auto* radio = dynamic_cast<TPSRadioButton*>(&control)) {
    if (!filtered)
      radio->SetText(Expand(S(*radio, 1), true));
    return;
  }
  if (dynamic_cast<TPSListBox*>(&control)) {
    InitList(control, initial, role, selected);
    return;
  }
  if (auto* viewer = dynamic_cast<TPSLicense*>(&control)) {
    if (!initial)
      return;
    viewer->SetScrollBars(ScrollBars::kVertical);
    viewer->SetReadOnly(true);
    std::string file;
    if (role == kRoleLicense && !context_.Data->Properties.LicenseFile.empty())
      file = Expand("%TempSetupDir%\\" + context_.Data->Properties.LicenseFile);
    else if (role == kRoleTextFile && !S(*viewer, 3).empty())
      file = Expand(S(*viewer, 3));
    if (!file.empty() && IsFile(file))
      viewer->LoadFromFile(file);
    return;
  }
  if (auto* not_deleted = dynamic_cast<TPSNotDeletedList*>(&control)) {
    if (!initial)
      return;
    not_deleted->SetScrollBars(ScrollBars::kBoth);
    if (context_.NotDeletedItems)
      not_deleted->SetLines(context_.NotDeletedItems());
    return;
  }
  if (auto* tree = dynamic_cast<TPSDirList*>(&control)) {
    if (initial || (filtered && role_filter == kRoleFolderTree) || filter_matches)
      LinkFolderTree(*tree);
    return;
  }
  if (auto* drives = dynamic_cast<TPSDriveCombo*>(&control)) {
    if (initial || (filtered && role_filter == kRoleDriveList) || filter_matches)
      LinkDriveList(*drives);
    return;
  }
  if (auto* combo = dynamic_cast<TPSComboBox*>(&control)) {
    if (!initial || filtered)
      return;
    combo->Clear();
    for (const std::string& item : ListItems(S(*combo, 3)))
      combo->AddItem(Expand(item));
    combo->SetValue(Expand(S(*combo, 4)));
    return;
  }
  if (auto* memo = dynamic_cast<TPSMemoList*>(&control)) {
    if (!initial)
      return;
    std::vector<std::string> lines;
    for (const std::string& line : ListItems(S(*memo, 2)))
      lines.push_back(Expand(line));
    memo->SetLines(lines);
    return;
  }
  if (auto* image = dynamic_cast<TPSImage*>(&control)) {
    if (!initial || !selected)
      return;
    if (role == kRoleNone) {
      image->Reload();
    } else if (role == kRoleProgramIcon) {
      image->SetPicture(IconBitmap(context_.ProgramIcon, image->Color()));
    } else if (role == kRoleWizardBitmap) {
      image->SetFileName(context_.Data->Properties.WizardBitmap);
    }
    return;
  }
  if (auto* image_button = dynamic_cast<TPSImageButton*>(&control)) {
    if (!initial || !selected)
      return;
    if (role == kRoleNone)
      image_button->Reload();
    else if (role == kRoleProgramIcon)
      image_button->SetPicture(IconBitmap(context_.ProgramIcon, image_button->Color()));
    return;
  }
  if (auto* frame = dynamic_cast<TPSFrame*>(&control)) {
    if (!filtered)
      frame->SetText(Expand(S(*frame, 1), true));
  }
}

void TControlBinding::InitList(TWindow& control, bool initial, uint8_t role, bool selected) {
  auto& list = static_cast<TPSListBox&>(control);
  if (!selected)
    return;
  if (role == kRoleComponents) {
    if (initial)
      FillComponentsList(list);
    return;
  }
  if (role == kRoleProgramGroupList) {
    const bool all_users = context_.Vars->UseCommonShellFolders;
    if (initial || all_users != all_users_seen_) {
      all_users_seen_ = all_users;
      FillProgramGroups(list);
    }
    return;
  }
  if (role != kRoleNone || !initial)
    return;
  list.SetCustomDraw(false);
  list.SetShowChecks(false);
  list.SetShowImages(false);
  list.SetShowFileSize(false);
  list.SetSorted(false);
  list.Clear();
  for (const std::string& item : ListItems(S(list, 2)))
    list.AddItem(Expand(item));
  list.SetValue(Expand(S(list, 3)));
}

uint64_t TControlBinding::ComponentSize(const std::string& component) const {
  uint64_t total = 0;
  for (const TSetupInstallerFile& file : context_.Data->DeviceFiles) {
    if (NamesComponent(file.File.Components, component))
      total += file.File.Size;
  }
  return total;
}

bool TControlBinding::ComponentHasFiles(const std::string& component) const {
  return std::any_of(context_.Data->DeviceFiles.begin(), context_.Data->DeviceFiles.end(),
                     [&](const TSetupInstallerFile& file) {
                       return NamesComponent(file.File.Components, component);
                     });
}

uint64_t TControlBinding::RequiredSpace() const {
  uint64_t total = 0;
  for (const TInstallerComponent& component : context_.Data->Components) {
    if (NamesComponent(context_.Vars->SelectedComponents, component.Component.Name))
      total += ComponentSize(component.Component.Name);
  }
  return total;
}

void TControlBinding::FillComponentsList(TPSListBox& list) {
  list.SetImageList(context_.Images);
  list.SetCustomDraw(true);
  list.SetShowChecks(true);
  list.SetShowFileSize(true);
  list.SetShowImages(true);
  list.SetFullItemSelect(false);
  list.SetShowDisabledChecks(false);
  list.SetSorted(false);
  list.Clear();
  int picture = 0;
  for (const TInstallerComponent& entry : context_.Data->Components) {
    const TSetupComponent& component = entry.Component;
    int index = -1;
    if (!component.Text3.empty() && IsFile(Expand("%TempSetupDir%\\" + component.Text3)))
      index = ++picture;
    list.AddItem(component.Name, CheckState::kUnchecked, ComponentHasFiles(component.Name),
                 component.Name, static_cast<uint32_t>(ComponentSize(component.Name)), index);
  }
  list.OnItemSize = [this](TAdvPSListBox&, const std::string& name) {
    return static_cast<uint32_t>(ComponentSize(name));
  };
  list.SetCheckedNames(context_.Vars->SelectedComponents);
  list.OnClick = [this](TWindow& sender) {
    auto& components = static_cast<TPSListBox&>(sender);
    component_description_.clear();
    const std::string picked = components.Value();
    for (const TInstallerComponent& entry : context_.Data->Components) {
      if (SameText(entry.Component.Name, picked)) {
        component_description_ = entry.Component.Description;
        break;
      }
    }
    if (context_.RefreshRole)
      context_.RefreshRole(kRoleComponentDescription);
  };
  list.OnItemCheckChanged = [this](TAdvPSListBox& sender, int) {
    ComponentsChecked(static_cast<TPSListBox&>(sender));
  };
}

void TControlBinding::ComponentsChecked(TPSListBox& list) {
  Variables& vars = *context_.Vars;
  vars.SelectedComponents = list.CheckedNames();
  if (vars.ExpandText("%SetupType%") == "2")
    vars.SetupTypeComponents[2] = vars.SelectedComponents;
  list.Invalidate();
  if (context_.RefreshRole)
    context_.RefreshRole(kRoleRequiredSpace);
}

void TControlBinding::FillProgramGroups(TPSListBox& list) {
  list.SetImageList(context_.Images);
  list.SetCustomDraw(true);
  list.SetShowChecks(false);
  list.SetShowFileSize(false);
  list.SetShowImages(true);
  list.SetShowDisabledChecks(true);
  list.SetSorted(true);
  list.Clear();
  const std::string folder =
      context_.ProgramsFolder ? context_.ProgramsFolder(all_users_seen_) : std::string();
  for (const std::string& name : SubFolderNames(folder))
    list.AddItem(name, CheckState::kUnchecked, true, name, 0, 0);
  list.OnClick = [this](TWindow& sender) {
    const std::string picked = static_cast<TPSListBox&>(sender).Value();
    if (!picked.empty())
      context_.Vars->SetVariable("%ProgramGroup%", picked);
  };
}

void TControlBinding::LinkFolderTree(TPSDirList& tree) {
  tree.OnChange = [this](TWindow& sender) { FolderTreeChanged(static_cast<TPSDirList&>(sender)); };
  const std::string folder =
      NearestExistingFolder(Expand(tree.Variable()), Expand("%WinDir%"),
                            [](const std::string& path) { return IsFolder(path); });
  tree.SetDirectory(folder);
}

void TControlBinding::LinkDriveList(TPSDriveCombo& drives) {
  drives.OnChange = [this](TWindow& sender) {
    DriveListChanged(static_cast<TPSDriveCombo&>(sender));
  };
  const std::string value = Expand(drives.Variable());
  if (!value.empty() && IsFolder(std::string(1, value[0]) + ":\\")) {
    drives.SetDrive(value[0]);
    drives.SetLastDrive(value[0]);
  }
}

bool TControlBinding::FollowsLink(const TPSControl& control, const std::string& variable) const {
  if (control.Role() == kRoleInstallDirBox && SameText(variable, "%INSTALLDIR%"))
    return true;
  return !control.Variable().empty() && SameText(control.Variable(), variable);
}

void TControlBinding::FolderTreeChanged(TPSDirList& tree) {
  if ((context_.Building && context_.Building()) || !context_.PageControls)
    return;
  const std::string folder = tree.Directory();
  if (SameFolder(folder, tree.LastFolder()))
    return;
  tree.SetLastFolder(folder);
  const std::string text = IncludeTrailingBackslash(folder);
  for (TWindow* control : context_.PageControls()) {
    if (auto* edit = dynamic_cast<TPSEdit*>(control)) {
      if (FollowsLink(*edit, tree.Variable()) && edit->Text() != text)
        edit->SetText(text);
    } else if (auto* drives = dynamic_cast<TPSDriveCombo*>(control)) {
      if (!drives->Variable().empty() && SameText(drives->Variable(), tree.Variable()) &&
          !folder.empty() && UpperAscii(drives->Drive()) != UpperAscii(folder[0])) {
        drives->SetDrive(folder[0]);
      }
    }
  }
}

void TControlBinding::DriveListChanged(TPSDriveCombo& drives) {
  if ((context_.Building && context_.Building()) || !context_.PageControls)
    return;
  const char letter = drives.Drive();
  const std::string root = std::string(1, UpperAscii(letter)) + ":\\";
  if (!IsFolder(root)) {
    if (drives.LastDrive() != 0)
      drives.SetDrive(drives.LastDrive());
    return;
  }
  drives.SetLastDrive(letter);
  for (TWindow* control : context_.PageControls()) {
    if (auto* edit = dynamic_cast<TPSEdit*>(control)) {
      const std::string text = edit->Text();
      if (FollowsLink(*edit, drives.Variable()) &&
          (text.empty() || UpperAscii(text[0]) != UpperAscii(letter))) {
        edit->SetText(root);
      }
    } else if (auto* tree = dynamic_cast<TPSDirList*>(control)) {
      const std::string& folder = tree->Directory();
      if (!tree->Variable().empty() && SameText(tree->Variable(), drives.Variable()) &&
          (folder.empty() || UpperAscii(folder[0]) != UpperAscii(letter))) {
        tree->SetDirectory(root);
      }
    }
  }
}

void TControlBinding::StoreControlValues(const TWindow& panel) {
  Variables& vars = *context_.Vars;
  for (size_t i = 0; i < panel.ControlCount(); ++i) {
    TWindow* control = panel.Control(i);
    const TPSControl* bound = ControlRecordOf(*control);
    if (!bound || bound->Variable().empty())
      continue;
    const std::string& variable = bound->Variable();
    if (auto* edit = dynamic_cast<TPSEdit*>(control)) {
      vars.SetVariable(variable, edit->Text());
    } else if (auto* box = dynamic_cast<TPSCheckBox*>(control)) {
      vars.SetVariable(variable, box->Value());
    } else if (auto* radio = dynamic_cast<TPSRadioButton*>(control)) {
      if (radio->Checked())
        vars.SetVariable(variable, radio->Value());
    } else if (auto* list = dynamic_cast<TPSListBox*>(control)) {
      if (list->Role() == kRoleNone)
        vars.SetVariable(variable, list->Value());
    } else if (auto* combo = dynamic_cast<TPSComboBox*>(control)) {
      vars.SetVariable(variable, combo->Value());
    }
  }
}

void TControlBinding::CheckRadioButtons(const TWindow& panel) {
  for (size_t i = 0; i < panel.ControlCount(); ++i) {
    auto* radio = dynamic_cast<TPSRadioButton*>(panel.Control(i));
    if (radio && !radio->Variable().empty() && radio->Value() == Expand(radio->Variable(), true)) {
      radio->SetChecked(true);
    }
  }
}

void TControlBinding::ControlEvent(TWindow& control,
                                   const std::function<void(const TScript&)>& run_script) {
  const TPSControl* bound = ControlRecordOf(control);
  if (!bound)
    return;
  if (dynamic_cast<TPSListBox*>(&control) &&
      (bound->Role() == kRoleComponents || bound->Role() == kRoleProgramGroupList)) {
    return;
  }
  if (dynamic_cast<TPSEdit*>(&control)) {
    // While a page is built or refreshed the boxes are being filled from the variables;
    // writing their texts back then would lose the values (an empty designed text would
    // clear %InstallDir%).
    const bool relay = !(context_.Building && context_.Building());
    if (bound->Role() == kRoleProgramGroupBox) {
      if (relay)
        context_.Vars->SetVariable("%ProgramGroup%", control.Text());
    } else if (bound->Role() == kRoleInstallDirBox) {
      if (relay)
        context_.Vars->SetVariable("%InstallDir%", control.Text());
    } else if (bound->Role() != kRoleNone) {
      return;
    }
  }
  run_script(bound->Record().Script);
}

void TControlBinding::ListCommand(const TWindow& panel,
                                  ListOperation operation,
                                  const std::string& name,
                                  const std::string& item) {
  std::vector<std::string> languages;
  for (const TSetupLanguage& language : context_.Data->Languages)
    languages.push_back(language.Name);
  for (size_t i = 0; i < panel.ControlCount(); ++i) {
    TWindow* control = panel.Control(i);
    if (auto* list = dynamic_cast<TPSListBox*>(control)) {
      if (!SameText(list->ListName(), name))
        continue;
      switch (operation) {
        case ListOperation::kClear:
          list->Clear();
          break;
        case ListOperation::kAddItem:
          list->AddItem(item);
          break;
        case ListOperation::kSelectAll:
          list->SelectAll();
          break;
        case ListOperation::kDeselectAll:
          list->DeselectAll();
          break;
        case ListOperation::kSelectListed: {
          const std::vector<std::string> wanted = SplitText(item, ", ");
          for (int index = 0; index < list->Count(); ++index) {
            const std::string text = list->ItemText(index);
            if (std::any_of(wanted.begin(), wanted.end(),
                            [&](const std::string& w) { return SameText(w, text); })) {
              list->SetSelected(index, true);
            }
          }
          break;
        }
        case ListOperation::kSort:
          list->Sort();
          break;
        case ListOperation::kFillLanguages:
          list->Clear();
          for (const std::string& language : languages)
            list->AddItem(language);
          list->Sort();
          list->SetValue(Expand(S(*list, 3)));
          break;
      }
    } else if (auto* memo = dynamic_cast<TPSMemoList*>(control)) {
      if (!SameText(memo->ListName(), name))
        continue;
      if (operation == ListOperation::kClear)
        memo->Clear();
      else if (operation == ListOperation::kAddItem)
        memo->AddLine(item);
      else if (operation == ListOperation::kSort)
        memo->Sort();
    } else if (auto* combo = dynamic_cast<TPSComboBox*>(control)) {
      if (!SameText(combo->ListName(), name))
        continue;
      if (operation == ListOperation::kClear) {
        combo->Clear();
      } else if (operation == ListOperation::kAddItem) {
        combo->AddItem(item);
      } else if (operation == ListOperation::kSort) {
        combo->Sort();
      } else if (operation == ListOperation::kFillLanguages) {
        combo->Clear();
        for (const std::string& language : languages)
          combo->AddItem(language);
        combo->Sort();
        combo->SetValue(Expand(S(*combo, 4)));
      }
    }
  }
}

void TControlBinding::EnableButtons(const TWindow& panel,
                                    const std::string& identifier,
                                    bool enabled) {
  for (size_t i = 0; i < panel.ControlCount(); ++i) {
    auto* button = dynamic_cast<TPSButton*>(panel.Control(i));
    if (button && SameText(button->Identifier(), identifier))
      button->SetEnabled(enabled);
  }
}

}  // namespace kvb
