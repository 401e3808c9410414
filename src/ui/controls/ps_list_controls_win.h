// The page controls that show lists: TPSListBox, TPSComboBox, TPSLicense,
// TPSNotDeletedList, TPSMemoList, TPSDirList and TPSDriveCombo. Each is created on its
// parent at its record's bounds.
#pragma once

#include <string>

#include "setupdata/records.h"
#include "ui/controls/adv_list_box_win.h"
#include "ui/controls/combo_box_win.h"
#include "ui/controls/directory_list_box_win.h"
#include "ui/controls/drive_combo_box_win.h"
#include "ui/controls/memo_win.h"
#include "ui/controls/ps_control_win.h"
#include "ui/controls/rich_edit_viewer_win.h"

namespace kvb {

// A plain list at first (no checks, pictures or sizes, unsorted); the binding may turn
// it into the components or program-group list.
class TPSListBox : public TAdvPSListBox, public TPSControl {
 public:
  TPSListBox(TWindow& parent, TSetupControl record);

  // Selects the item whose text equals `value` exactly (none when absent), stores the
  // value and raises OnValueChange.
  void SetValue(const std::string& value);
  // The selected item's text, empty when none.
  std::string Value() const;
  // The name the list commands find it by.
  const std::string& ListName() const { return list_name_; }
  void SetListName(const std::string& name) { list_name_ = name; }

  // The value changed: a click in the list, or SetValue.
  NotifyEvent OnValueChange;

 protected:
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  std::string list_name_;
};

// Text " ", typing allowed at first (not list-only).
class TPSComboBox : public TComboBox, public TPSControl {
 public:
  TPSComboBox(TWindow& parent, TSetupControl record);

  // Selects the item whose text equals `value` exactly (none when absent); a combo box
  // that allows typing also shows `value` as its text. Raises OnValueChange.
  void SetValue(const std::string& value);
  // Typing allowed: the text. List-only: the selected item's text, empty when none.
  std::string Value() const;
  const std::string& ListName() const { return list_name_; }
  void SetListName(const std::string& name) { list_name_ = name; }

  // The value changed: an item picked, the text typed, or SetValue.
  NotifyEvent OnValueChange;

 protected:
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  void ValueChanged();
  std::string list_name_;
};

// The licence and text-file viewer: read-only, rich edit where available.
class TPSLicense : public TRichEditViewer, public TPSControl {
 public:
  TPSLicense(TWindow& parent, TSetupControl record);
};

// The list of items the uninstaller could not remove: read-only lines.
class TPSNotDeletedList : public TMemo, public TPSControl {
 public:
  TPSNotDeletedList(TWindow& parent, TSetupControl record);
};

// A read-only list of lines that list commands fill by its list name.
class TPSMemoList : public TMemo, public TPSControl {
 public:
  TPSMemoList(TWindow& parent, TSetupControl record);
  const std::string& ListName() const { return list_name_; }
  void SetListName(const std::string& name) { list_name_ = name; }

 private:
  std::string list_name_;
};

// The folder tree bound to a variable. The binding's linking handler goes to OnChange
// and remembers the last folder here.
class TPSDirList : public TNewDirectoryListBox, public TPSControl {
 public:
  TPSDirList(TWindow& parent, TSetupControl record);
  const std::string& LastFolder() const { return last_folder_; }
  void SetLastFolder(const std::string& folder) { last_folder_ = folder; }

 private:
  std::string last_folder_;
};

// The drive list bound to a variable. The binding's linking handler goes to OnChange
// and remembers the last drive here.
class TPSDriveCombo : public TNewDriveComboBox, public TPSControl {
 public:
  TPSDriveCombo(TWindow& parent, TSetupControl record);
  char LastDrive() const { return last_drive_; }
  void SetLastDrive(char letter) { last_drive_ = letter; }

 private:
  char last_drive_ = 0;
};

}  // namespace kvb
