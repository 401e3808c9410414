// TControlBinding: ties built page controls to the running setup. InitControl fills a
// control from its record, the variables and the setup records; StoreControlValues and
// CheckRadioButtons move values between a panel and the variables; the linked folder
// trees and drive lists, the components list and the program-group list follow the
// user; the list and button commands of scripts reach controls by name.
//
// The wizard owns the binding and tells it, through BindingContext, what it cannot know
// itself: the page being shown, whether a page is being built, the free space, the
// items the uninstaller left.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "setupdata/setup_data.h"
#include "ui/base/window_win.h"
#include "ui/controls/ps_control_win.h"

namespace kvb {

class TImageList;
class Variables;

struct BindingContext {
  Variables* Vars = nullptr;
  const TSetupData* Data = nullptr;
  // The wizard's 16 x 16 pictures: 0 the program-group folder, then component pictures.
  TImageList* Images = nullptr;
  PictureResolver ResolvePicture;
  // True while a page is built or refreshed: the linked lists then do not relay changes.
  std::function<bool()> Building;
  // The controls of the page shown now (style host and page panel), for the links.
  std::function<std::vector<TWindow*>()> PageControls;
  // Free space in kilobytes on the drive of %InstallDir%.
  std::function<uint64_t()> FreeSpaceKb;
  // The items the uninstaller could not remove.
  std::function<std::vector<std::string>()> NotDeletedItems;
  // The Start-menu programs folder of all users or of the current user.
  std::function<std::string(bool all_users)> ProgramsFolder;
  // The program's own icon (not owned).
  HICON ProgramIcon = nullptr;
  // A role's controls on the page must show a new value (labels 5 and 11).
  std::function<void(uint8_t role)> RefreshRole;
};

// The operations of the list commands.
enum class ListOperation {
  kClear,
  kAddItem,
  kSelectAll,
  kDeselectAll,
  kSelectListed,
  kSort,
  kFillLanguages,
};

class TControlBinding {
 public:
  explicit TControlBinding(BindingContext context);

  // Fills `control` as its class and role say. Filtered: only controls of `role_filter`
  // (with 0: ordinary controls, or those bound to the directory variable `var_filter`).
  void InitControl(TWindow& control,
                   bool initial,
                   const std::string& var_filter,
                   uint8_t role_filter,
                   bool filtered);
  // Writes the values of the panel's controls into their variables.
  void StoreControlValues(const TWindow& panel);
  // Checks every radio button of the panel whose value equals its variable's.
  void CheckRadioButtons(const TWindow& panel);

  // The control's event as the user's: runs its script through `run_script`, after
  // setting %ProgramGroup% or %InstallDir% for the boxes with roles 3 and 7. Lists with
  // roles 2 and 4 run nothing.
  void ControlEvent(TWindow& control, const std::function<void(const TScript&)>& run_script);

  // A list command on the panel's lists named `name` (case-insensitive); `item` is the
  // item to add or the ", " list to select. Texts come expanded.
  void ListCommand(const TWindow& panel,
                   ListOperation operation,
                   const std::string& name,
                   const std::string& item);
  // Enables or disables the panel's buttons whose identifier is `identifier`.
  void EnableButtons(const TWindow& panel, const std::string& identifier, bool enabled);

  // The total size of the component's files (the package's file list), in bytes, and
  // whether it has any.
  uint64_t ComponentSize(const std::string& component) const;
  bool ComponentHasFiles(const std::string& component) const;
  // The space the selected components need, in bytes.
  uint64_t RequiredSpace() const;

  const std::string& ComponentDescription() const { return component_description_; }
  void ClearComponentDescription() { component_description_.clear(); }
  bool AllUsersSeen() const { return all_users_seen_; }
  void SetAllUsersSeen(bool seen) { all_users_seen_ = seen; }

 private:
  bool IsDirectoryVariable(const std::string& name) const;
  std::string Expand(const std::string& text, bool escape = false) const;
  void InitList(TWindow& control, bool initial, uint8_t role, bool selected);
  void FillComponentsList(class TPSListBox& list);
  void FillProgramGroups(class TPSListBox& list);
  void LinkFolderTree(class TPSDirList& tree);
  void LinkDriveList(class TPSDriveCombo& drives);
  void FolderTreeChanged(class TPSDirList& tree);
  void DriveListChanged(class TPSDriveCombo& drives);
  void ComponentsChecked(class TPSListBox& list);
  // The page's text boxes that follow a link of `variable`.
  bool FollowsLink(const TPSControl& control, const std::string& variable) const;

  BindingContext context_;
  std::string component_description_;
  bool all_users_seen_ = false;
};

}  // namespace kvb
