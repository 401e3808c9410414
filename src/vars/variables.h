// The variable store shared by the whole setup run, and the %Name% expansion of texts.
//
// `Variables` holds the process-wide state of the store: the sorted list of variables,
// the product and company names used for %SoftwareName% and %CompanyName%, the component
// selection that %SetupType% switches, the provider hooks and the change notification.
// Values of the built-in names come from a `MachineInfo` (Win32 in the runtime, fakes in
// tests), so this code depends on nothing above it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vars/machine_info.h"

namespace kvb {

enum class Builtin : uint8_t;

// The store: items sorted by name with ASCII-only case-insensitive comparison; a name
// keeps the letter case it was first inserted with. Lookups are binary searches.
class TVariableList {
 public:
  void SetValue(std::string_view name, std::string_view value);
  int IndexOf(std::string_view name) const;  // -1 when absent
  // "Name=Value" split at the first '='; a text without '=' is both name and value.
  void AddLine(std::string_view line);
  std::string GetLine(int index) const;  // "Name=Value"; "" outside 0..Count()-1
  // Name and value; both empty outside 0..Count()-1.
  std::pair<std::string, std::string> GetItem(int index) const;
  int Count() const;
  void Clear();
  // The items in sorted order; invalidated by the next change of the list.
  const std::vector<std::pair<std::string, std::string>>& Items() const { return items_; }

 private:
  std::vector<std::pair<std::string, std::string>> items_;
};

// Providers that higher layers install at start-up; each may stay unset.
struct VariableHooks {
  std::function<bool()> ActiveSyncInstalledHook;
  std::function<bool()> HotSyncInstalledHook;
  std::function<std::string()> HotSyncDirHook;
  // True when the %-delimited name is one of the package's file folders.
  std::function<bool(std::string_view name)> IsDirectoryVariableHook;
  // Window handles for %SetupHandle% and %ActiveDialogHandle%; "0" while unset.
  std::function<uintptr_t()> SetupHandleHook;
  std::function<uintptr_t()> ActiveDialogHandleHook;
};

// Longest text an expansion produces: when a replacement would make the text longer, it
// is left undone and the expansion stops there. Guards against values that reference
// each other into exponential growth.
inline constexpr size_t kMaxExpandedLength = size_t{16} << 20;

class Variables {
 public:
  // `machine` answers the built-in names and must outlive this object; without one,
  // every machine fact and folder expands to "".
  explicit Variables(MachineInfo* machine = nullptr);

  TVariableList& List() { return list_; }
  const TVariableList& List() const { return list_; }

  // Process-wide names and selections.
  std::string SoftwareName;
  std::string CompanyName;
  std::string TempSetupDir;  // the run's private temporary folder, set by start-up
  bool UseCommonShellFolders = false;
  std::string SelectedComponents;                  // "|"-separated component names
  std::array<std::string, 3> SetupTypeComponents;  // selections of setup types 0, 1, 2
  VariableHooks Hooks;
  // Longest text an expansion produces (lowered by tests and the fuzzer).
  size_t MaxExpandedLength = kMaxExpandedLength;
  // Called after every accepted SetVariable with the %-delimited name and the value
  // before expansion.
  std::function<void(const std::string& name, const std::string& value)> OnVariableChanged;

  // Replaces built-in names, then stored names, that occur in `text` itself. `inner`
  // marks the internal expansions of %ProgramGroup% and %CmdParamNum%; `escape` doubles
  // '&' in the software and company names.
  std::string ExpandVariables(std::string_view text,
                              std::string_view software_name,
                              std::string_view company_name,
                              bool inner,
                              bool escape);
  // The expansion every other subsystem uses.
  std::string ExpandText(std::string_view text, bool escape = false);
  // The computed value when the whole text is a computed name, else ExpandText.
  std::string GetVariableValue(std::string_view text);
  // The one write path for scripts, dialogs, start-up and the wizard. Read-only names
  // are ignored; %SetupType% and %CommonShellFolders% have side effects; the value is
  // stored expanded once.
  void SetVariable(std::string_view name, std::string_view value, bool directory = false);

 private:
  // The arguments of one ExpandVariables call.
  struct Expansion {
    std::string_view software;
    std::string_view company;
    bool inner;
    bool escape;
  };
  std::string BuiltinValue(Builtin id, const Expansion& expansion);
  std::string FolderValue(Builtin id);
  std::string ComputedValue(Builtin id, const Expansion& expansion);
  std::string MachineFolderValue(MachineFolder folder);
  std::string ShellFolderValue(ShellFolderKind kind);
  std::string StoredValueToInsert(const std::string& name, const std::string& value);

  TVariableList list_;
  MachineInfo* machine_;
};

// "" stays ""; otherwise '%' is added in front and behind where missing.
std::string MakeVariableName(std::string_view name);
// Case-insensitive replacement of every occurrence of `old_text`: the first occurrence
// is replaced, and the search starts again at the beginning, so an occurrence that the
// inserted text forms with its surroundings is replaced as well. Where that would never
// end, the replacement stops: a value that contains `old_text` is put in once for every
// occurrence in `text` and not searched again; otherwise it stops once a replacement
// would make the text longer than `max_length` (or after `max_length` replacements, or
// when occurrences keep forming inside inserted values), leaving the rest as it is, and
// sets `*limit_reached` (when given). An empty `old_text` replaces nothing.
std::string ReplaceAllText(std::string_view text,
                           std::string_view old_text,
                           std::string_view new_text,
                           size_t max_length = kMaxExpandedLength,
                           bool* limit_reached = nullptr);
// The computed names (and %SETUPCOMPONENTS%) that assignments leave alone.
bool IsReadOnlyVariable(std::string_view name);

}  // namespace kvb
