// The page controls for texts and choices: TPSLabel, TPSEdit, TPSButton, TPSCheckBox,
// TPSRadioButton. Each is created on its parent at its record's bounds with its class's
// defaults; the builder then sets its properties from the record's strings.
#pragma once

#include <string>

#include "setupdata/records.h"
#include "ui/controls/button_win.h"
#include "ui/controls/check_box_win.h"
#include "ui/controls/edit_win.h"
#include "ui/controls/label_win.h"
#include "ui/controls/ps_control_win.h"

namespace kvb {

// Caption "Label", word wrap on, not transparent.
class TPSLabel : public TLabel, public TPSControl {
 public:
  TPSLabel(TWindow& parent, TSetupControl record);
};

// Text "Text Box", not read-only. A read-only box is drawn in the button-face colour,
// an editable one in the window colour.
class TPSEdit : public TEdit, public TPSControl {
 public:
  TPSEdit(TWindow& parent, TSetupControl record);
  void SetReadOnly(bool read_only);
};

// Caption "Button", font colour button-text, type 0.
class TPSButton : public TButton, public TPSControl {
 public:
  enum Type { kPlain = 0, kCancelButton = 1, kDefaultButton = 2 };

  TPSButton(TWindow& parent, TSetupControl record);

  // 1 makes it the cancel button (Escape), 2 the default button (Enter); other values
  // are plain.
  int ButtonType() const { return type_; }
  void SetButtonType(int type);
  // The identifier the enable and disable commands name it by.
  const std::string& Identifier() const { return identifier_; }
  void SetIdentifier(const std::string& identifier) { identifier_ = identifier; }

 private:
  int type_ = kPlain;
  std::string identifier_;
};

// Caption "Check Box", checked value "1", unchecked value "0", transparent painting on.
class TPSCheckBox : public TCheckBox, public TPSControl {
 public:
  TPSCheckBox(TWindow& parent, TSetupControl record);

  const std::string& CheckedValue() const { return checked_value_; }
  void SetCheckedValue(const std::string& value) { checked_value_ = value; }
  const std::string& UncheckedValue() const { return unchecked_value_; }
  void SetUncheckedValue(const std::string& value) { unchecked_value_ = value; }
  const std::string& LastSetValue() const { return last_set_value_; }

  // When `value` differs from the last set value, the box is checked exactly when it
  // equals the checked value (case-insensitive) and `value` becomes the last set value.
  void SetValue(const std::string& value);
  // Checked: the checked value. Unchecked: the last set value when it begins and ends
  // with `%` (a variable reference kept as it is), otherwise the unchecked value.
  std::string Value() const;

 private:
  std::string checked_value_ = "1";
  std::string unchecked_value_ = "0";
  std::string last_set_value_;
};

// Caption "Radio Box", transparent painting on.
class TPSRadioButton : public TRadioButton, public TPSControl {
 public:
  TPSRadioButton(TWindow& parent, TSetupControl record);

  // The value this button stands for.
  const std::string& Value() const { return value_; }
  void SetValue(const std::string& value) { value_ = value; }

 private:
  std::string value_;
};

}  // namespace kvb
