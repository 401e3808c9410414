#include "ui/builder/dialog_builder_win.h"

#include <memory>

#include "base/text.h"
#include "ui/base/graphics_win.h"
#include "ui/builder/control_rules.h"
#include "ui/controls/ps_graphic_controls_win.h"
#include "ui/controls/ps_list_controls_win.h"
#include "ui/controls/ps_text_controls_win.h"

namespace kvb {

namespace {

const std::string& S(const TSetupControl& record, int number) {
  return record.Strings[number - 1];
}

void FillListItems(TAdvPSListBox& list, const std::string& items) {
  list.Clear();
  for (const std::string& item : ListItems(items))
    list.AddItem(item);
}

void FillComboItems(TComboBox& combo, const std::string& items) {
  combo.Clear();
  for (const std::string& item : ListItems(items))
    combo.AddItem(item);
}

// The control of the record's kind with its events and string properties; the font is
// applied by the caller. Null for kinds that create no control.
std::unique_ptr<TWindow> MakeControl(TWindow& parent,
                                     const TSetupControl& record,
                                     const BuildCallbacks& callbacks) {
  const NotifyEvent& event = callbacks.OnControlEvent;
  switch (record.Kind) {
    case kKindLabel: {
      auto label = std::make_unique<TPSLabel>(parent, record);
      label->OnClick = event;
      label->SetText(S(record, 1));
      label->SetTransparent(FlagText(S(record, 3)));
      return label;
    }
    case kKindTextBox: {
      auto edit = std::make_unique<TPSEdit>(parent, record);
      edit->OnChange = event;
      edit->SetText(S(record, 1));
      edit->SetReadOnly(FlagText(S(record, 3)));
      return edit;
    }
    case kKindButton: {
      auto button = std::make_unique<TPSButton>(parent, record);
      button->OnClick = event;
      button->SetText(S(record, 1));
      button->SetButtonType(LenientNumber(S(record, 3)));
      button->SetIdentifier(S(record, 5));
      return button;
    }
    case kKindCheckBox: {
      auto box = std::make_unique<TPSCheckBox>(parent, record);
      box->OnClick = event;
      box->SetText(S(record, 1));
      box->SetCheckedValue(S(record, 4));
      box->SetUncheckedValue(S(record, 5));
      box->SetValue(S(record, 3));
      return box;
    }
    case kKindRadioButton: {
      auto radio = std::make_unique<TPSRadioButton>(parent, record);
      radio->OnClick = event;
      radio->SetText(S(record, 1));
      radio->SetValue(S(record, 4));
      if (FlagText(S(record, 3)))
        radio->SetChecked(true);
      return radio;
    }
    case kKindListBox:
      switch (record.Role) {
        case kRoleLicense:
        case kRoleTextFile:
          return std::make_unique<TPSLicense>(parent, record);
        case kRoleNotDeleted: {
          auto list = std::make_unique<TPSNotDeletedList>(parent, record);
          list->SetReadOnly(true);
          list->SetColor(kClBtnFace);
          return list;
        }
        case kRoleFolderTree:
          return std::make_unique<TPSDirList>(parent, record);
        case kRoleMemoList: {
          auto memo = std::make_unique<TPSMemoList>(parent, record);
          memo->SetReadOnly(true);
          memo->SetColor(kClBtnFace);
          memo->SetScrollBars(ScrollBars::kBoth);
          memo->SetLines(ListItems(S(record, 2)));
          memo->SetListName(S(record, 5));
          return memo;
        }
        default: {
          auto list = std::make_unique<TPSListBox>(parent, record);
          list->OnValueChange = event;
          list->SetMultiSelect(FlagText(S(record, 6)));
          list->SetListName(S(record, 5));
          FillListItems(*list, S(record, 2));
          list->SetValue(S(record, 3));
          return list;
        }
      }
    case kKindComboBox: {
      if (record.Role == kRoleDriveList)
        return std::make_unique<TPSDriveCombo>(parent, record);
      auto combo = std::make_unique<TPSComboBox>(parent, record);
      combo->OnValueChange = event;
      combo->SetListOnly(FlagText(S(record, 2)));
      combo->SetListName(S(record, 6));
      FillComboItems(*combo, S(record, 3));
      combo->SetValue(S(record, 4));
      return combo;
    }
    case kKindImage: {
      auto image = std::make_unique<TPSImage>(parent, record);
      image->OnClick = event;
      image->OnResolvePicture = callbacks.ResolvePicture;
      image->SetStretch(FlagText(S(record, 2)));
      image->SetTransparent(FlagText(S(record, 3)));
      image->SetBorder(FlagText(S(record, 4)));
      image->SetFileName(S(record, 1));
      return image;
    }
    case kKindImageButton: {
      auto button = std::make_unique<TPSImageButton>(parent, record);
      button->OnClick = event;
      button->OnResolvePicture = callbacks.ResolvePicture;
      button->SetFileName(S(record, 1));
      return button;
    }
    case kKindLine:
      return std::make_unique<TPSLine>(parent, record);
    case kKindShape: {
      auto shape = std::make_unique<TPSShape>(parent, record);
      shape->SetShape(LenientNumber(S(record, 1)));
      shape->SetPenColor(static_cast<uint32_t>(LenientNumber(S(record, 2))));
      shape->SetBrushColor(static_cast<uint32_t>(LenientNumber(S(record, 3))));
      return shape;
    }
    case kKindFrame: {
      auto frame = std::make_unique<TPSFrame>(parent, record);
      frame->SetText(S(record, 1));
      return frame;
    }
    case kKindProgress:
      return std::make_unique<TPSProgress>(parent, record);
    default:
      return nullptr;
  }
}

// The font string of a kind: S2 for labels, text boxes, buttons, check and radio
// buttons and frames, S1 for list and combo boxes, none otherwise.
std::string FontStringOf(const TSetupControl& record) {
  switch (record.Kind) {
    case kKindLabel:
    case kKindTextBox:
    case kKindButton:
    case kKindCheckBox:
    case kKindRadioButton:
    case kKindFrame:
      return S(record, 2);
    case kKindListBox:
    case kKindComboBox:
      return S(record, 1);
    default:
      return "";
  }
}

}  // namespace

void BuildControls(const std::string& prefix,
                   TWindow& parent,
                   TWindow& owner,
                   const std::vector<TSetupControl>& records,
                   const BuildCallbacks& callbacks) {
  for (const TSetupControl& record : records) {
    if (record.Kind == kKindStyleSpace) {
      if (callbacks.OnStyleSpace)
        callbacks.OnStyleSpace(prefix, record.Left, record.Top, record.Height, record.Width);
      continue;
    }
    // The name is chosen before the control joins its parent, so it never meets itself.
    const std::string name = UniqueControlName(
        prefix + KindSuffix(record.Kind, record.Role),
        [&parent](const std::string& candidate) { return parent.FindControl(candidate); });
    std::unique_ptr<TWindow> made = MakeControl(parent, record, callbacks);
    if (!made)
      continue;
    TWindow& control = owner.Own(std::move(made));
    control.SetName(name);
    control.SetBounds(record.Left, record.Top, record.Width, record.Height);
    control.SetFont(
        ResolveControlFont(callbacks.DefaultFont, FontStringOf(record), callbacks.KeepDefaultFace));
    control.Show();
    if (callbacks.OnControlCreated)
      callbacks.OnControlCreated(control);
  }
}

const TPSControl* ControlRecordOf(const TWindow& window) {
  return dynamic_cast<const TPSControl*>(&window);
}

}  // namespace kvb
