// The rules of page building that need no window: control kinds and roles, the names
// given to built controls, page prefixes, the lenient numbers and flags of control
// strings, font strings and item lists. Host-tested.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setupdata/records.h"

namespace kvb {

enum ControlKind : uint8_t {
  kKindLabel = 1,
  kKindTextBox = 2,
  kKindButton = 3,
  kKindCheckBox = 4,
  kKindRadioButton = 5,
  kKindListBox = 6,
  kKindComboBox = 7,
  kKindImage = 8,
  kKindImageButton = 9,
  kKindLine = 10,
  kKindShape = 11,
  kKindStyleSpace = 12,
  kKindFrame = 13,
  kKindProgress = 14,
};

enum ControlRole : uint8_t {
  kRoleNone = 0,
  kRoleLicense = 1,
  kRoleProgramGroupList = 2,
  kRoleProgramGroupBox = 3,
  kRoleComponents = 4,
  kRoleRequiredSpace = 5,
  kRoleFreeSpace = 6,
  kRoleInstallDirBox = 7,
  kRoleProgramIcon = 8,
  kRoleWizardBitmap = 9,
  kRoleTextFile = 10,
  kRoleComponentDescription = 11,
  kRoleNotDeleted = 12,
  kRoleStatusLine = 13,
  kRoleDetailLine = 14,
  kRoleFolderTree = 15,
  kRoleDriveList = 16,
  kRoleMemoList = 17,
};

// The name suffix of a kind ("_Label" ...), for kinds 6 and 7 chosen by role; "" for
// kinds that create no control (0, 12, above 14).
std::string KindSuffix(uint8_t kind, uint8_t role);

// "PS_" + base + n with the smallest n from 1 to 30,000 that `taken` refuses; "" when all
// are taken.
std::string UniqueControlName(std::string_view base,
                              const std::function<bool(const std::string& name)>& taken);

// A page's name made fit for control names: `.`, space, `\`, `/`, `:`, `*`, `?`, `"`,
// `<`, `>`, `|`, `,` and `-` become `_`.
std::string SanitizePageName(std::string_view name);

// A number written in a control string: every character but digits and `-` is dropped;
// an empty rest is 0, a rest that is no number (such as "1-2") is 0 as well.
int32_t LenientNumber(std::string_view text);
// Flags are set only by the exact text "1".
inline bool FlagText(std::string_view text) {
  return text == "1";
}

// A font string "Face|Size|Colour|Style|Charset|" applied to the default font `base`;
// nullopt when it does not have exactly five non-empty fields.
std::optional<TFontRecord> ParseFontString(std::string_view text, const TFontRecord& base);

// The font of a control: `default_font`, changed by the font string when it has its five
// fields. With `keep_default_face` the default face stays unless both face and size of
// the string differ from the default's.
TFontRecord ResolveControlFont(const TFontRecord& default_font,
                               std::string_view font_string,
                               bool keep_default_face);

// The items of a `|` list: as many as it has non-empty fields, taken from its fields in
// order, empty ones included ("a||b" gives "a" and "").
std::vector<std::string> ListItems(std::string_view text);

}  // namespace kvb
