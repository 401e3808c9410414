#include "ui/builder/control_rules.h"

#include "base/text.h"

namespace kvb {

std::string KindSuffix(uint8_t kind, uint8_t role) {
  switch (kind) {
    case kKindLabel:
      return "_Label";
    case kKindTextBox:
      return "_TextBox";
    case kKindButton:
      return "_Button";
    case kKindCheckBox:
      return "_CheckBox";
    case kKindRadioButton:
      return "_RadioBox";
    case kKindListBox:
      switch (role) {
        case kRoleLicense:
        case kRoleTextFile:
          return "_License";
        case kRoleNotDeleted:
          return "_NotDeleted";
        case kRoleFolderTree:
          return "_DirList";
        case kRoleMemoList:
          return "_MemoList";
        default:
          return "_ListBox";
      }
    case kKindComboBox:
      return role == kRoleDriveList ? "_DriveCombo" : "_ComboBox";
    case kKindImage:
      return "_Image";
    case kKindImageButton:
      return "_ImageButton";
    case kKindLine:
      return "_Line";
    case kKindShape:
      return "_Shape";
    case kKindFrame:
      return "_Frame";
    case kKindProgress:
      return "_Progress";
    default:
      return "";
  }
}

std::string UniqueControlName(std::string_view base,
                              const std::function<bool(const std::string& name)>& taken) {
  const std::string stem = "PS_" + std::string(base);
  for (int n = 1; n <= 30000; ++n) {
    std::string name = stem + std::to_string(n);
    if (!taken(name))
      return name;
  }
  return "";
}

std::string SanitizePageName(std::string_view name) {
  static constexpr std::string_view kReplaced = ". \\/:*?\"<>|,-";
  std::string result(name);
  for (char& c : result) {
    if (kReplaced.find(c) != std::string_view::npos)
      c = '_';
  }
  return result;
}

int32_t LenientNumber(std::string_view text) {
  return ParseLenientInt(text).value_or(0);
}

std::optional<TFontRecord> ParseFontString(std::string_view text, const TFontRecord& base) {
  std::vector<std::string> fields = SplitText(text, "|");
  // Five fields each followed by `|` leave one empty piece behind the last.
  if (!fields.empty() && fields.back().empty())
    fields.pop_back();
  if (fields.size() != 5)
    return std::nullopt;
  for (const std::string& field : fields) {
    if (field.empty())
      return std::nullopt;
  }
  TFontRecord font = base;
  font.FaceName = fields[0];
  font.Size = static_cast<uint32_t>(LenientNumber(fields[1]));
  font.Color = static_cast<uint32_t>(LenientNumber(fields[2]));
  font.Style = static_cast<uint8_t>(LenientNumber(fields[3]));
  font.Charset = static_cast<uint8_t>(LenientNumber(fields[4]));
  return font;
}

TFontRecord ResolveControlFont(const TFontRecord& default_font,
                               std::string_view font_string,
                               bool keep_default_face) {
  std::optional<TFontRecord> parsed = ParseFontString(font_string, default_font);
  if (!parsed)
    return default_font;
  const std::vector<std::string> fields = SplitText(font_string, "|");
  const bool face_differs = fields[0] != default_font.FaceName;
  const bool size_differs = fields[1] != std::to_string(default_font.Size);
  if (keep_default_face && !(face_differs && size_differs))
    parsed->FaceName = default_font.FaceName;
  return *parsed;
}

std::vector<std::string> ListItems(std::string_view text) {
  std::vector<std::string> fields = SplitText(text, "|");
  size_t count = 0;
  for (const std::string& field : fields) {
    if (!field.empty())
      ++count;
  }
  fields.resize(count);
  return fields;
}

}  // namespace kvb
