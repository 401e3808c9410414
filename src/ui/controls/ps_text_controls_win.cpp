#include "ui/controls/ps_text_controls_win.h"

#include "base/text.h"
#include "ui/base/graphics_win.h"

namespace kvb {

TPSLabel::TPSLabel(TWindow& parent, TSetupControl record)
    : TLabel(parent, record.Left, record.Top, record.Width, record.Height, "Label"),
      TPSControl(std::move(record)) {
  SetWordWrap(true);
}

TPSEdit::TPSEdit(TWindow& parent, TSetupControl record)
    : TEdit(parent, record.Left, record.Top, record.Width, record.Height, "Text Box"),
      TPSControl(std::move(record)) {}

void TPSEdit::SetReadOnly(bool read_only) {
  TEdit::SetReadOnly(read_only);
  SetColor(read_only ? kClBtnFace : kClWindow);
}

TPSButton::TPSButton(TWindow& parent, TSetupControl record)
    : TButton(parent, record.Left, record.Top, record.Width, record.Height, "Button"),
      TPSControl(std::move(record)) {
  TFontRecord font = Font();
  font.Color = kClBtnText;
  SetFont(font);
}

void TPSButton::SetButtonType(int type) {
  type_ = type;
  SetCancel(type == kCancelButton);
  SetDefault(type == kDefaultButton);
}

TPSCheckBox::TPSCheckBox(TWindow& parent, TSetupControl record)
    : TCheckBox(parent, record.Left, record.Top, record.Width, record.Height, "Check Box"),
      TPSControl(std::move(record)) {}

void TPSCheckBox::SetValue(const std::string& value) {
  if (value == last_set_value_)
    return;
  // Stored first: the click event that a change raises reads the value.
  last_set_value_ = value;
  SetChecked(SameText(value, checked_value_));
}

std::string TPSCheckBox::Value() const {
  if (Checked())
    return checked_value_;
  const std::string& last = last_set_value_;
  if (last.size() >= 2 && last.front() == '%' && last.back() == '%')
    return last;
  return unchecked_value_;
}

TPSRadioButton::TPSRadioButton(TWindow& parent, TSetupControl record)
    : TRadioButton(parent, record.Left, record.Top, record.Width, record.Height, "Radio Box"),
      TPSControl(std::move(record)) {}

}  // namespace kvb
