// Readable names for the numbers stored in packages: control kinds and roles, the string
// slots of each kind, overwrite modes, registry roots and types, and the other small
// enumerations. The project reader accepts the names (and the numbers); the project
// writer and the package summary print the names.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kvb::pack {

struct NamedValue {
  uint32_t value;
  std::string_view name;
};
using NameList = std::span<const NamedValue>;

// Case-insensitive lookup of a name; nullopt when unknown.
std::optional<uint32_t> ValueOfName(NameList names, std::string_view name);
// The name of a value, or empty when it has none.
std::string_view NameOfValue(NameList names, uint32_t value);
// "a", "b" or "c": the names for an error message.
std::string NameChoices(NameList names);

NameList ControlKindNames();    // 1-14: "label" ... "progress"
NameList ControlRoleNames();    // 0-17: "none" ... "memo"
NameList OverwriteModeNames();  // 0-9
NameList RegistryRootNames();   // 0-2: "HKEY_CLASSES_ROOT" ...
NameList RegistryTypeNames();   // 0-3: "string", "integer", "binary", "multi-string"
NameList ShowCommandNames();    // SW_ values: "hide", "normal", "minimized" ...
NameList DialogTypeNames();     // 0 "page", 2 "style"
NameList BackItemKindNames();   // 0 "text", 1 "picture"
NameList CornerNames();         // 0-3
NameList SlideInNames();        // 0-8: "none", then the side an item slides in from
NameList BackPlacementNames();  // 0-2
NameList BackWindowNames();     // 0-2
NameList ConduitKindNames();    // 0-1
NameList ScreenSizeNames();     // 0-5: "none", "640x480" ...
NameList ButtonTypeNames();     // 0-2, stored as text in a button's slot 3
NameList ShapeNames();          // 0-5, stored as text in a shape's slot 1

inline constexpr int kMaxControlKind = 14;
inline constexpr int kMaxControlRole = 17;

// Whether `role` has a meaning for controls of `kind` (role 0 fits every kind).
bool RoleFitsKind(uint32_t role, uint32_t kind);

// What a string slot holds, which decides how the project reader accepts its value.
enum class SlotType { kText, kFont, kFlag, kNumber, kButtonType, kShape, kColor };

struct SlotInfo {
  std::string_view key;  // project key, e.g. "checked-value"; empty for unstored slots
  SlotType type;
};

// The six slots of a control of `kind` and `role` (role 10 list boxes name slot 3 "file").
std::array<SlotInfo, 6> ControlSlots(uint32_t kind, uint32_t role);

// Project keys of the seven global scripts and of the four dialog scripts.
std::span<const std::string_view> GlobalScriptKeys();
std::span<const std::string_view> DialogScriptKeys();
// Project keys of the seven start-up option bytes.
std::span<const std::string_view> StartupOptionKeys();

}  // namespace kvb::pack
