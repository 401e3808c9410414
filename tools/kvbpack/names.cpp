#include "names.h"

#include <string>

#include "base/text.h"

namespace kvb::pack {
namespace {

constexpr NamedValue kKinds[] = {
    {1, "label"},    {2, "text-box"},     {3, "button"}, {4, "check-box"},    {5, "radio-button"},
    {6, "list-box"}, {7, "combo-box"},    {8, "image"},  {9, "image-button"}, {10, "line"},
    {11, "shape"},   {12, "style-space"}, {13, "frame"}, {14, "progress"},
};
constexpr NamedValue kRoles[] = {
    {0, "none"},
    {1, "licence"},
    {2, "program-group-list"},
    {3, "program-group"},
    {4, "components"},
    {5, "space-required"},
    {6, "space-available"},
    {7, "install-dir"},
    {8, "program-icon"},
    {9, "wizard-bitmap"},
    {10, "text-file"},
    {11, "component-description"},
    {12, "not-deleted"},
    {13, "status"},
    {14, "detail"},
    {15, "folder-tree"},
    {16, "drive-list"},
    {17, "memo"},
};
constexpr NamedValue kOverwrite[] = {
    {0, "ask"},           {1, "ask-no-skip"}, {2, "keep"},    {3, "replace-existing"},
    {4, "newer-version"}, {5, "newer-date"},  {6, "replace"}, {7, "ask-existing"},
    {8, "ask-version"},   {9, "ask-date"},
};
constexpr NamedValue kRoots[] = {
    {0, "HKEY_CLASSES_ROOT"},
    {1, "HKEY_CURRENT_USER"},
    {2, "HKEY_LOCAL_MACHINE"},
    {0, "HKCR"},
    {1, "HKCU"},
    {2, "HKLM"},
};
constexpr NamedValue kRegTypes[] = {{0, "string"},
                                    {1, "integer"},
                                    {2, "binary"},
                                    {3, "multi-string"}};
constexpr NamedValue kShow[] = {
    {0, "hide"},        {1, "normal"},  {2, "minimized"}, {3, "maximized"},
    {4, "no-activate"}, {5, "show"},    {6, "minimize"},  {7, "minimized-no-activate"},
    {8, "show-na"},     {9, "restore"}, {10, "default"},
};
constexpr NamedValue kDialogTypes[] = {{0, "page"}, {2, "style"}};
constexpr NamedValue kBackKinds[] = {{0, "text"}, {1, "picture"}};
constexpr NamedValue kCorners[] = {{0, "top-left"},
                                   {1, "bottom-left"},
                                   {2, "top-right"},
                                   {3, "bottom-right"}};
constexpr NamedValue kSlideIns[] = {{0, "none"},        {1, "left"},         {2, "right"},
                                    {3, "top"},         {4, "bottom"},       {5, "top-left"},
                                    {6, "bottom-left"}, {7, "top-right"},    {8, "bottom-right"}};
constexpr NamedValue kPlacements[] = {{0, "stretch"}, {1, "tile"}, {2, "centre"}};
constexpr NamedValue kBackWindows[] = {{0, "maximised"}, {1, "full-screen"}, {2, "centred"}};
constexpr NamedValue kConduitKinds[] = {{0, "application"}, {1, "component"}};
constexpr NamedValue kScreens[] = {{0, "none"},    {1, "640x480"}, {2, "720x480"},
                                   {3, "720x576"}, {4, "800x600"}, {5, "1024x768"}};
constexpr NamedValue kButtonTypes[] = {{0, "plain"}, {1, "cancel"}, {2, "default"}};
constexpr NamedValue kShapes[] = {{0, "rectangle"},    {1, "square"},  {2, "round-rect"},
                                  {3, "round-square"}, {4, "ellipse"}, {5, "circle"}};

constexpr std::string_view kGlobalScripts[] = {
    "startup", "before-install",   "after-install",  "closing",
    "error",   "before-uninstall", "after-uninstall"};
constexpr std::string_view kDialogScripts[] = {"before-script", "built-script", "shown-script",
                                               "leave-script"};
constexpr std::string_view kOptions[] = {
    "devices-only", "use-background-window", "require-activesync", "require-hotsync",
    "log-option",   "write-uninstall-info",  "keep-default-font"};

using S = SlotType;
constexpr SlotInfo kNone{"", S::kText};

}  // namespace

std::optional<uint32_t> ValueOfName(NameList names, std::string_view name) {
  for (const NamedValue& n : names) {
    if (SameText(n.name, name))
      return n.value;
  }
  return std::nullopt;
}

std::string_view NameOfValue(NameList names, uint32_t value) {
  for (const NamedValue& n : names) {
    if (n.value == value)
      return n.name;
  }
  return {};
}

std::string NameChoices(NameList names) {
  std::string out;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i)
      out += i + 1 == names.size() ? " or " : ", ";
    out += "\"" + std::string(names[i].name) + "\"";
  }
  return out;
}

NameList ControlKindNames() {
  return kKinds;
}
NameList ControlRoleNames() {
  return kRoles;
}
NameList OverwriteModeNames() {
  return kOverwrite;
}
NameList RegistryRootNames() {
  return kRoots;
}
NameList RegistryTypeNames() {
  return kRegTypes;
}
NameList ShowCommandNames() {
  return kShow;
}
NameList DialogTypeNames() {
  return kDialogTypes;
}
NameList BackItemKindNames() {
  return kBackKinds;
}
NameList CornerNames() {
  return kCorners;
}
NameList SlideInNames() {
  return kSlideIns;
}
NameList BackPlacementNames() {
  return kPlacements;
}
NameList BackWindowNames() {
  return kBackWindows;
}
NameList ConduitKindNames() {
  return kConduitKinds;
}
NameList ScreenSizeNames() {
  return kScreens;
}
NameList ButtonTypeNames() {
  return kButtonTypes;
}
NameList ShapeNames() {
  return kShapes;
}

bool RoleFitsKind(uint32_t role, uint32_t kind) {
  switch (role) {
    case 0:
      return true;
    case 1:
    case 2:
    case 4:
    case 10:
    case 12:
    case 15:
    case 17:
      return kind == 6;
    case 3:
    case 7:
      return kind == 2;
    case 5:
    case 6:
    case 11:
    case 13:
    case 14:
      return kind == 1;
    case 8:
      return kind == 8 || kind == 9;
    case 9:
      return kind == 8;
    case 16:
      return kind == 7;
    default:
      return false;
  }
}

std::array<SlotInfo, 6> ControlSlots(uint32_t kind, uint32_t role) {
  switch (kind) {
    case 1:
      return {{{"caption", S::kText},
               {"font", S::kFont},
               {"transparent", S::kFlag},
               kNone,
               kNone,
               kNone}};
    case 2:
      return {{{"text", S::kText},
               {"font", S::kFont},
               {"read-only", S::kFlag},
               {"extra-4", S::kText},
               kNone,
               kNone}};
    case 3:
      return {{{"caption", S::kText},
               {"font", S::kFont},
               {"button-type", S::kButtonType},
               {"extra-4", S::kText},
               {"button-id", S::kText},
               kNone}};
    case 4:
      return {{{"caption", S::kText},
               {"font", S::kFont},
               {"initial-value", S::kText},
               {"checked-value", S::kText},
               {"unchecked-value", S::kText},
               {"extra-6", S::kText}}};
    case 5:
      return {{{"caption", S::kText},
               {"font", S::kFont},
               {"checked", S::kFlag},
               {"value", S::kText},
               {"extra-5", S::kText},
               kNone}};
    case 6:
      return {{{"font", S::kFont},
               {"items", S::kText},
               {role == 10 ? "file" : "initial-value", S::kText},
               {"extra-4", S::kText},
               {"list-name", S::kText},
               {"multi-select", S::kFlag}}};
    case 7:
      return {{{"font", S::kFont},
               {"drop-down-list", S::kFlag},
               {"items", S::kText},
               {"initial-value", S::kText},
               {"extra-5", S::kText},
               {"list-name", S::kText}}};
    case 8:
      return {{{"picture", S::kText},
               {"stretch", S::kFlag},
               {"transparent", S::kFlag},
               {"sunken", S::kFlag},
               kNone,
               kNone}};
    case 9:
      return {{{"picture", S::kText}, kNone, kNone, kNone, kNone, kNone}};
    case 11:
      return {{{"shape", S::kShape},
               {"pen-color", S::kColor},
               {"brush-color", S::kColor},
               kNone,
               kNone,
               kNone}};
    case 13:
      return {{{"caption", S::kText}, {"font", S::kFont}, kNone, kNone, kNone, kNone}};
    default:
      return {{kNone, kNone, kNone, kNone, kNone, kNone}};
  }
}

std::span<const std::string_view> GlobalScriptKeys() {
  return kGlobalScripts;
}
std::span<const std::string_view> DialogScriptKeys() {
  return kDialogScripts;
}
std::span<const std::string_view> StartupOptionKeys() {
  return kOptions;
}

}  // namespace kvb::pack
