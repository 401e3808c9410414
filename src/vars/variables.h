// The variable store shared by the whole setup run, and the %Name% expansion of texts.
//
// `Variables` holds the process-wide state of the store: the sorted list of variables,
// the product and company names used for %SoftwareName% and %CompanyName%, the component
// selection that %SetupType% switches, the provider hooks and the change notification.
// Values of the built-in names come from a `MachineInfo` (Win32 in the runtime, fakes in
// tests), so this code depends on nothing above it.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kvb {

struct TSetupData;

// The store: items sorted by name with ASCII-only case-insensitive comparison; a name
// keeps the letter case it was first inserted with.
class TVariableList {
 public:
  void SetValue(std::string_view name, std::string_view value);
  int IndexOf(std::string_view name) const;  // -1 when absent
  void AddLine(std::string_view line);       // "Name=Value"; no '=': name = value = line
  std::string GetLine(int index) const;      // "" outside 0..Count()-1
  std::pair<std::string, std::string> GetItem(int index) const;
  int Count() const;
  void Clear();

 private:
  std::vector<std::pair<std::string, std::string>> items_;
};

// Facts about the machine behind the built-in variables.
class MachineInfo {
 public:
  virtual ~MachineInfo() = default;
  // Value of a built-in folder or computed name given with its delimiters (for example
  // "%WinDir%", "%RAMMemory%"); nullopt when the machine does not answer that name.
  virtual std::optional<std::string> BuiltinValue(std::string_view name) = 0;
  // Command-line argument `index` (0 = the program's own path); empty when out of range.
  virtual std::string CommandLineArgument(int index) = 0;
};

struct VariableHooks {
  std::function<bool()> ActiveSyncInstalledHook;
  std::function<bool()> HotSyncInstalledHook;
  std::function<std::string()> HotSyncDirHook;
  std::function<bool(std::string_view name)> IsDirectoryVariableHook;
};

class Variables {
 public:
  explicit Variables(MachineInfo* machine = nullptr);

  TVariableList& List() { return list_; }
  const TVariableList& List() const { return list_; }

  // Process-wide names and selections.
  std::string SoftwareName;
  std::string CompanyName;
  bool UseCommonShellFolders = false;
  std::string SelectedComponents;                 // "|"-separated component names
  std::array<std::string, 3> SetupTypeComponents;  // selections of setup types 0, 1, 2
  VariableHooks Hooks;
  std::function<void(const std::string& name, const std::string& value)> OnVariableChanged;

  std::string ExpandVariables(std::string_view text, std::string_view software_name,
                              std::string_view company_name, bool inner, bool escape);
  // The expansion every other subsystem uses.
  std::string ExpandText(std::string_view text, bool escape = false);
  // The computed value when the whole text is a computed name, else ExpandText.
  std::string GetVariableValue(std::string_view text);
  // The one write path for scripts, dialogs, start-up and the wizard.
  void SetVariable(std::string_view name, std::string_view value, bool directory = false);

 private:
  TVariableList list_;
  MachineInfo* machine_;
};

std::string MakeVariableName(std::string_view name);
std::string ReplaceAllText(std::string_view text, std::string_view old_text,
                           std::string_view new_text);
bool IsReadOnlyVariable(std::string_view name);

}  // namespace kvb
