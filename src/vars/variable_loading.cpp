#include "vars/variable_loading.h"

#include <algorithm>
#include <array>
#include <set>

#include "base/text.h"
#include "setupdata/command_table.h"
#include "setupdata/setup_data.h"

namespace kvb {

namespace {

constexpr std::array<std::string_view, 36> kWellKnownNames = {
    "%InstallDir%",
    "%ProgramGroup%",
    "%CanClose%",
    "%SetupType%",
    "%DLLResult%",
    "%ErrorCode%",
    "%DoReboot%",
    "%HotSyncUser%",
    "%CmdParamNum%",
    "%Language%",
    "%IsAdmin%",
    "%IsNT%",
    "%OSVersion%",
    "%OSMajorVersion%",
    "%OSMinorVersion%",
    "%ColorDepth%",
    "%CurrentDay%",
    "%CurrentHour%",
    "%CurrentMinute%",
    "%CurrentMonth%",
    "%CurrentSecond%",
    "%CurrentYear%",
    "%Date%",
    "%EuropeanDate%",
    "%ISODate%",
    "%ScreenHeight%",
    "%ScreenWidth%",
    "%RAMMemory%",
    "%SetupHandle%",
    "%CmdLineParam%",
    "%ActiveDialogHandle%",
    "%IsActiveSyncInstalled%",
    "%IsHotSyncInstalled%",
    "%IsDotNetInstalled%",
    "%DotNetVersion%",
    "%ActiveSyncVersion%",
};

// Control kinds that carry no value of their own: labels, buttons, images, image
// buttons, lines, shapes and frames.
bool KindHoldsValue(uint8_t kind) {
  switch (kind) {
    case 1:
    case 3:
    case 8:
    case 9:
    case 10:
    case 11:
    case 13:
      return false;
    default:
      return true;
  }
}

struct TextLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return CompareText(a, b) < 0;
  }
};

// Names in the order first met, each once by text comparison; empty names are skipped.
class NameCollector {
 public:
  void Add(std::string_view name) {
    std::string delimited = MakeVariableName(name);
    if (delimited.empty() || !seen_.insert(delimited).second)
      return;
    names_.push_back(std::move(delimited));
  }
  void AddOutputs(const TScript& script) {
    for (const TScriptStatement& statement : script.Statements) {
      if (GetCommandInfo(statement.CommandCode()).writes_variable)
        Add(statement.Args[0]);
    }
  }
  std::vector<std::string> Take() { return std::move(names_); }

 private:
  std::vector<std::string> names_;
  std::set<std::string, TextLess> seen_;
};

std::string TrimKey(std::string_view key) {
  if (!key.empty() && key.back() == '\\')
    key.remove_suffix(1);
  if (!key.empty() && key.front() == '\\')
    key.remove_prefix(1);
  return std::string(key);
}

}  // namespace

std::function<bool(std::string_view name)> DirectoryVariableTest(
    std::vector<std::string> file_folders) {
  return [folders = std::move(file_folders)](std::string_view name) {
    const std::string folder = std::string(name) + "\\";
    return std::any_of(folders.begin(), folders.end(),
                       [&](const std::string& entry) { return SameText(entry, folder); });
  };
}

void ApplySetupProperties(Variables& vars, const TSetupProperties& properties) {
  vars.SoftwareName = properties.SoftwareName;
  vars.CompanyName = properties.CompanyName;
  vars.SetupTypeComponents = {properties.ComponentsType0, properties.ComponentsType1,
                              properties.ComponentsType2};
  vars.SelectedComponents = properties.ComponentsType0;
}

void LoadVariables(Variables& vars,
                   const std::vector<TSetupVariable>& records,
                   RegistryReader& registry) {
  vars.List().Clear();
  RegRoot root = RegRoot::kCurrentUser;
  for (const TSetupVariable& record : records) {
    const TSetupRegChange& source = record.Source;
    if (source.Root <= 2)
      root = static_cast<RegRoot>(source.Root);
    std::optional<std::string> value =
        registry.ReadString(root, TrimKey(source.Key), source.ValueName);
    if (!value) {
      value = vars.ExpandVariables(source.Data, vars.SoftwareName, vars.CompanyName,
                                   /*inner=*/false, /*escape=*/false);
    }
    vars.SetVariable(MakeVariableName(record.Name), *value, record.Flag != 0);
  }
}

std::vector<std::string> CollectVariableNames(const TSetupData& data) {
  NameCollector names;
  for (const TScript& script : data.Scripts)
    names.AddOutputs(script);
  for (const TSetupDialog& dialog : data.Dialogs) {
    for (const TScript& script : dialog.Scripts)
      names.AddOutputs(script);
    for (const TSetupControl& control : dialog.Controls) {
      // Lines and shapes never run their script.
      if (control.Kind != 10 && control.Kind != 11)
        names.AddOutputs(control.Script);
    }
  }
  for (const TSetupDialog& dialog : data.Dialogs) {
    for (const TSetupControl& control : dialog.Controls) {
      if (KindHoldsValue(control.Kind))
        names.Add(control.Variable);
    }
  }
  for (std::string_view name : kWellKnownNames)
    names.Add(name);
  return names.Take();
}

void InitVariables(Variables& vars,
                   const TSetupData& data,
                   std::string_view hotsync_user,
                   std::string_view language) {
  for (const std::string& name : CollectVariableNames(data))
    vars.SetVariable(name, "");
  vars.SetVariable("%InstallDir%", vars.ExpandText(data.Properties.DefaultInstallDir));
  vars.SetVariable("%ProgramGroup%", vars.ExpandText(data.Properties.DefaultProgramGroup));
  for (const char* name : {"%CanClose%", "%SetupType%", "%CommonShellFolders%", "%ErrorCode%",
                           "%DoReboot%", "%CmdParamNum%"}) {
    vars.SetVariable(name, "0");
  }
  vars.SetVariable("%HotSyncUser%", hotsync_user);
  vars.SetVariable("%Language%", language);
}

}  // namespace kvb
