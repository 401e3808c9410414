#include <gtest/gtest.h>

#include "setupdata/setup_data.h"
#include "vars/variable_loading.h"

namespace kvb {
namespace {

std::string Stored(const Variables& vars, std::string_view name) {
  const int index = vars.List().IndexOf(name);
  return index < 0 ? "<absent>" : vars.List().GetItem(index).second;
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
  vars.SetVariable("%Answer%", "42");  // as loaded from the package's variables
  vars.SetVariable("%Kept%", "7");
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

TEST(DirectoryVariableTest, NameWithBackslashIsAFileFolder) {
  const auto test = DirectoryVariableTest({"%InstallDir%\\", "%DATADIR%\\", "%Plain%"});
  EXPECT_TRUE(test("%installdir%"));
  EXPECT_TRUE(test("%DataDir%"));
  EXPECT_FALSE(test("%Plain%"));  // listed without its backslash
  EXPECT_FALSE(test("%Other%"));
}

}  // namespace
}  // namespace kvb
