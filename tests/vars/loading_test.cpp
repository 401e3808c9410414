#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "setupdata/setup_data.h"
#include "vars/variable_loading.h"

namespace kvb {
namespace {

class FakeRegistry : public RegistryReader {
 public:
  using Key = std::tuple<RegRoot, std::string, std::string>;
  std::map<Key, std::string> values;
  std::vector<Key> reads;

  std::optional<std::string> ReadString(RegRoot root,
                                        std::string_view key,
                                        std::string_view value_name) override {
    Key k{root, std::string(key), std::string(value_name)};
    reads.push_back(k);
    auto it = values.find(k);
    if (it == values.end())
      return std::nullopt;
    return it->second;
  }
};

TSetupVariable Var(const char* name,
                   uint8_t root,
                   const char* key,
                   const char* value_name,
                   const char* data,
                   uint8_t flag = 0) {
  TSetupVariable v;
  v.Name = name;
  v.Source.Root = root;
  v.Source.Key = key;
  v.Source.ValueName = value_name;
  v.Source.Data = data;
  v.Flag = flag;
  return v;
}

std::string Stored(const Variables& vars, std::string_view name) {
  const int index = vars.List().IndexOf(name);
  return index < 0 ? "<absent>" : vars.List().GetItem(index).second;
}

TEST(LoadVariables, RegistryValuesElseExpandedDefaults) {
  Variables vars;
  vars.SoftwareName = "Tool";
  vars.SetVariable("%Stale%", "x");
  FakeRegistry registry;
  registry.values[{RegRoot::kLocalMachine, "Software\\Acme", "Path"}] = "C:\\Acme\\";
  registry.values[{RegRoot::kLocalMachine, "Software\\Other", ""}] = "unnamed";
  registry.values[{RegRoot::kClassesRoot, "Software\\Acme", "Path"}] = "classes";
  const std::vector<TSetupVariable> records = {
      Var("Path", 2, "\\Software\\Acme\\", "Path", "%SoftwareName% default", 1),
      Var("%Missing%", 9, "Software\\Acme", "Nope", "%SoftwareName% default"),
      Var("Unnamed", 7, "Software\\Other", "", "d"),
      Var("Classes", 0, "Software\\Acme", "Path", "d"),
      Var("UserDefault", 1, "Software\\Acme", "Path", "%Path%\\sub"),
      Var("First", 200, "Software\\Acme", "Path", "d"),
  };
  LoadVariables(vars, records, registry);
  EXPECT_EQ(Stored(vars, "%Stale%"), "<absent>");  // the store starts anew
  EXPECT_EQ(Stored(vars, "%Path%"), "C:\\Acme");   // directory flag
  EXPECT_EQ(Stored(vars, "%Missing%"), "Tool default");
  EXPECT_EQ(Stored(vars, "%Unnamed%"), "unnamed");  // root 7 keeps HKEY_LOCAL_MACHINE
  EXPECT_EQ(Stored(vars, "%Classes%"), "classes");
  EXPECT_EQ(Stored(vars, "%UserDefault%"), "C:\\Acme\\sub");
  EXPECT_EQ(Stored(vars, "%First%"), "d");  // root 200 keeps HKEY_CURRENT_USER: no value there
  ASSERT_EQ(registry.reads.size(), records.size());
  EXPECT_EQ(registry.reads[0],
            (FakeRegistry::Key{RegRoot::kLocalMachine, "Software\\Acme", "Path"}));
  EXPECT_EQ(std::get<0>(registry.reads[1]), RegRoot::kLocalMachine);
  EXPECT_EQ(std::get<0>(registry.reads[5]), RegRoot::kCurrentUser);
}

TEST(LoadVariables, FirstUnknownRootIsCurrentUser) {
  Variables vars;
  FakeRegistry registry;
  LoadVariables(vars, {Var("A", 3, "K", "V", "d")}, registry);
  EXPECT_EQ(std::get<0>(registry.reads.at(0)), RegRoot::kCurrentUser);
}

TEST(LoadVariables, GoesThroughSetVariable) {
  Variables vars;
  vars.SetupTypeComponents = {"a", "b", "c"};
  FakeRegistry registry;
  LoadVariables(vars, {Var("SetupType", 1, "K", "V", "1"), Var("Date", 1, "K", "V", "x")},
                registry);
  EXPECT_EQ(vars.SelectedComponents, "b");
  EXPECT_EQ(vars.List().Count(), 1);  // %Date% is read-only
}

TScriptStatement Statement(uint32_t code, const char* arg1) {
  TScriptStatement s;
  s.Code = code;
  s.Args[0] = arg1;
  return s;
}

TScript Script(std::initializer_list<TScriptStatement> statements) {
  TScript script;
  script.Statements = statements;
  script.Count = static_cast<int32_t>(script.Statements.size());
  return script;
}

TSetupControl Control(uint8_t kind, const char* variable, TScript script = {}) {
  TSetupControl control;
  control.Kind = kind;
  control.Variable = variable;
  control.Script = std::move(script);
  return control;
}

// Codes: 1 MESSAGE (no output), 2 ASK, 11 READREG, 35 CALCULATE (output in argument 1).
TSetupData PackageWithNames() {
  TSetupData data;
  data.Scripts[0] = Script({Statement(2, "Answer"), Statement(1, "%NotOutput%"),
                            Statement(0x0200 | 11, "%RegValue%"), Statement(128 + 2, "%Big%")});
  data.Scripts[6] = Script({Statement(35, "%answer%"), Statement(35, "")});
  TSetupDialog dialog;
  dialog.Scripts[kLeaveScript] = Script({Statement(2, "%InstallDir%")});
  dialog.Controls = {
      Control(2, "%Edit%", Script({Statement(2, "%FromEdit%")})),
      Control(10, "", Script({Statement(2, "%FromLine%")})),
      Control(11, "%Shape%", Script({Statement(2, "%FromShape%")})),
  };
  for (uint8_t kind : {1, 3, 4, 5, 6, 7, 8, 9, 13, 14}) {
    dialog.Controls.push_back(Control(kind, ("Kind" + std::to_string(kind)).c_str()));
  }
  data.Dialogs.push_back(dialog);
  return data;
}

TEST(CollectVariableNames, OutputsThenControlsThenWellKnown) {
  const std::vector<std::string> names = CollectVariableNames(PackageWithNames());
  const std::vector<std::string> expected_start = {
      "%Answer%", "%RegValue%", "%InstallDir%", "%FromEdit%", "%Edit%",        "%Kind4%",
      "%Kind5%",  "%Kind6%",    "%Kind7%",      "%Kind14%",   "%ProgramGroup%"};
  ASSERT_GE(names.size(), expected_start.size());
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + expected_start.size()),
            expected_start);
  EXPECT_EQ(names.back(), "%ActiveSyncVersion%");
  EXPECT_EQ(names.size(), expected_start.size() - 1 + 36 - 1);  // %InstallDir% only once
}

TEST(InitVariables, StartValues) {
  TSetupData data = PackageWithNames();
  data.Properties.DefaultInstallDir = "%ProgramFilesDir%\\%SoftwareName%";
  data.Properties.DefaultProgramGroup = "%CompanyName%\\%SoftwareName%";
  Variables vars;
  ApplySetupProperties(vars, [] {
    TSetupProperties p;
    p.SoftwareName = "Tool";
    p.CompanyName = "Acme";
    p.ComponentsType0 = "Core";
    p.ComponentsType2 = "Core|All";
    return p;
  }());
  FakeRegistry registry;
  LoadVariables(vars, {Var("Answer", 1, "K", "V", "42"), Var("Kept", 1, "K", "V", "7")}, registry);
  vars.SelectedComponents = "changed";
  InitVariables(vars, data, "Palm User", "English");
  const std::pair<const char*, const char*> expected[] = {
      {"%Answer%", ""},  // a script writes it: it starts empty
      {"%Kept%", "7"},
      {"%InstallDir%", "\\Tool"},
      {"%ProgramGroup%", "Acme\\Tool"},
      {"%CanClose%", "0"},
      {"%SetupType%", "0"},
      {"%CommonShellFolders%", "0"},
      {"%ErrorCode%", "0"},
      {"%DoReboot%", "0"},
      {"%CmdParamNum%", "0"},
      {"%DLLResult%", ""},
      {"%HotSyncUser%", "Palm User"},
      {"%Language%", "English"},
      {"%IsAdmin%", "<absent>"},
      {"%CmdLineParam%", "<absent>"},
  };
  for (const auto& [name, value] : expected)
    EXPECT_EQ(Stored(vars, name), value) << name;
  EXPECT_EQ(vars.SelectedComponents, "Core");
  EXPECT_FALSE(vars.UseCommonShellFolders);
}

}  // namespace
}  // namespace kvb
