#include <gtest/gtest.h>

#include "fake_machine.h"
#include "vars/variables.h"

namespace kvb {
namespace {

class Expansion : public ::testing::Test {
 protected:
  Expansion() {
    machine.folders[MachineFolder::kWindows] = "C:\\WINDOWS\\";
    machine.folders[MachineFolder::kSystem] = "C:\\WINDOWS\\system32";
    machine.folders[MachineFolder::kProgramFiles] = "C:\\Program Files\\";
    machine.folders[MachineFolder::kActiveSync] = "C:\\Program Files\\Microsoft ActiveSync\\";
    machine.folders[MachineFolder::kSource] = "D:\\";
    machine.shell[0][static_cast<int>(ShellFolderKind::kPrograms)] = "C:\\User\\Programs";
    machine.shell[1][static_cast<int>(ShellFolderKind::kPrograms)] = "C:\\All\\Programs";
    machine.shell[0][static_cast<int>(ShellFolderKind::kDesktop)] = "C:\\User\\Desktop";
    machine.shell[1][static_cast<int>(ShellFolderKind::kDesktop)] = "C:\\All\\Desktop";
    machine.facts[MachineFact::kIsAdmin] = "1";
    machine.facts[MachineFact::kRAMMemory] = "536";
    machine.clock = {2024, 3, 7, 9, 5, 2, "."};
    machine.args = {"C:\\setup.exe", "/a", "/b"};
    vars.SoftwareName = "Tom & Jerry";
    vars.CompanyName = "A&B";
  }

  FakeMachine machine;
  Variables vars{&machine};
};

struct ExpandCase {
  const char* text;
  const char* expected;
};

void ExpectAll(Variables& vars, std::initializer_list<ExpandCase> cases, bool escape = false) {
  for (const ExpandCase& c : cases)
    EXPECT_EQ(vars.ExpandText(c.text, escape), c.expected) << c.text;
}

TEST_F(Expansion, BuiltinFolders) {
  vars.TempSetupDir = "C:\\TEMP\\kvb001\\";
  vars.List().SetValue("%ProgramGroup%", "Tom\\");
  ExpectAll(vars, {
                      {"", ""},
                      {"%%", "%%"},
                      {"%winDIR%\\x", "C:\\WINDOWS\\x"},
                      {"%HelpDir%", "C:\\WINDOWS\\Help"},
                      {"%WinDrive%", "C:"},
                      {"%SysDir%", "C:\\WINDOWS\\system32"},
                      {"%SourceDir%", "D:"},
                      {"%TempSetupDir%", "C:\\TEMP\\kvb001"},
                      {"%ActiveSyncDir%", "C:\\Program Files\\Microsoft ActiveSync"},
                      {"%HotSyncDir%", "C:\\WINDOWS"},
                      {"%FontsDir%|%DotNetDir%", "|"},
                      {"%ProgramsDir%", "C:\\User\\Programs"},
                      // The program group keeps its backslash inside %ProgramGroupDir%.
                      {"%ProgramGroupDir%", "C:\\User\\Programs\\Tom\\"},
                      {"%Unknown% 100%", "%Unknown% 100%"},
                  });
  vars.Hooks.HotSyncDirHook = [] { return std::string("C:\\Palm\\User\\Install\\"); };
  vars.UseCommonShellFolders = true;
  ExpectAll(vars, {{"%HotSyncDir%", "C:\\Palm\\User\\Install"},
                   {"%DesktopDir%;%ProgramsDir%", "C:\\All\\Desktop;C:\\All\\Programs"}});
}

TEST_F(Expansion, NamesAndEscaping) {
  vars.SetVariable("%Title%", "Cats & Dogs");
  ExpectAll(vars, {{"%SoftwareName% by %CompanyName%", "Tom & Jerry by A&B"},
                   {"%Title%", "Cats & Dogs"}});
  ExpectAll(
      vars,
      {{"%SoftwareName% by %CompanyName%", "Tom && Jerry by A&&B"}, {"%Title%", "Cats & Dogs"}},
      /*escape=*/true);
}

TEST_F(Expansion, DirectoryVariablesLoseTrailingBackslash) {
  vars.List().SetValue("%InstallDir%", "C:\\App\\");
  vars.List().SetValue("%DataDir%", "D:\\Data\\");
  vars.List().SetValue("%Plain%", "E:\\Plain\\");
  // Without the hook nothing is treated as a directory, not even %InstallDir%.
  ExpectAll(vars, {{"%installdir%\\bin", "C:\\App\\\\bin"}});
  vars.Hooks.IsDirectoryVariableHook = [](std::string_view name) { return name == "%DataDir%"; };
  ExpectAll(vars, {{"%installdir%\\bin", "C:\\App\\bin"},
                   {"%DataDir%\\x", "D:\\Data\\x"},
                   {"%Plain%x", "E:\\Plain\\x"}});
}

TEST_F(Expansion, OnlyNamesOfTheOriginalTextAreReplaced) {
  vars.SetVariable("%A%", "x%B%y");
  EXPECT_EQ(vars.List().GetItem(0).second, "x%B%y");
  vars.SetVariable("%B%", "q");
  ExpectAll(vars, {{"%A%", "x%B%y"}, {"%A%/%B%", "xqy/q"}});
  // A built-in value is not searched for stored names either.
  machine.folders[MachineFolder::kFonts] = "C:\\%B%";
  ExpectAll(vars, {{"%FontsDir%", "C:\\%B%"}, {"%FontsDir%%B%", "C:\\qq"}});
}

TEST_F(Expansion, BuiltinsCannotBeShadowed) {
  vars.List().SetValue("%WinDir%", "mine");
  vars.List().SetValue("%IsAdmin%", "0");
  ExpectAll(vars, {{"%WinDir% %IsAdmin%", "C:\\WINDOWS 1"}});
}

TEST_F(Expansion, StoredNameWithoutDelimitersMatchesBareText) {
  vars.SetVariable("Foo", "bar");
  EXPECT_EQ(vars.List().GetItem(0).first, "Foo");
  ExpectAll(vars, {{"Foo and %Foo% and food", "bar and %bar% and bard"}});
}

TEST_F(Expansion, SelfReferenceEnds) {
  vars.SetVariable("%A%", "[%A%]");
  vars.List().SetValue("%B%", "%B%%B%");
  ExpectAll(vars, {{"%A%", "[%A%]"}, {"%a%-%A%", "[%A%]-[%A%]"}, {"%B%", "%B%%B%"}});
}

TEST_F(Expansion, ComputedValues) {
  vars.Hooks.ActiveSyncInstalledHook = [] { return true; };
  vars.Hooks.HotSyncInstalledHook = [] { return false; };
  ExpectAll(vars, {
                      {"%RAMMemory% MB", "536 MB"},
                      {"%Date%", "03.07.2024"},
                      {"%EuropeanDate%", "07.03.2024"},
                      {"%ISODate%", "2024-03-07"},
                      {"%CurrentHour%:%CurrentMinute%:%CurrentSecond%", "09:05:02"},
                      {"%CurrentDay%/%CurrentMonth%/%CurrentYear%", "07/03/2024"},
                      {"%SetupHandle%,%ActiveDialogHandle%", "0,0"},
                      {"%IsActiveSyncInstalled%%IsHotSyncInstalled%", "10"},
                  });
  vars.Hooks.SetupHandleHook = [] { return uintptr_t{0x10012}; };
  ExpectAll(vars, {{"%SetupHandle%", "65554"}});
}

TEST_F(Expansion, MachineIsAskedOnlyForNamesInTheText) {
  vars.SetVariable("%X%", "1");
  vars.ExpandText("plain %X% text");
  EXPECT_EQ(machine.fact_queries, 0);
  vars.ExpandText("%RAMMemory%");
  EXPECT_EQ(machine.fact_queries, 1);
}

TEST_F(Expansion, CommandLineParameterByNumber) {
  const ExpandCase cases[] = {
      {"2", "/b"}, {"1", "/a"}, {"", "C:\\setup.exe"}, {"#2#", "/b"},       {"3", ""},
      {"-1", ""},  {"-", ""},   {"1-2", ""},           {"99999999999", ""},
  };
  for (const ExpandCase& c : cases) {
    vars.SetVariable("%CmdParamNum%", c.text);
    EXPECT_EQ(vars.ExpandText("[%CmdLineParam%]"), std::string("[") + c.expected + "]") << c.text;
    EXPECT_EQ(vars.GetVariableValue("%cmdlineparam%"), c.expected) << c.text;
  }
  // Inside the expansion of %CmdParamNum% the parameter itself is not expanded again.
  vars.List().SetValue("%CmdParamNum%", "%CmdLineParam%");
  EXPECT_EQ(vars.ExpandText("%CmdLineParam%"), "C:\\setup.exe");
}

TEST_F(Expansion, GetVariableValue) {
  vars.SetVariable("%A%", "a");
  EXPECT_EQ(vars.GetVariableValue("%isadmin%"), "1");
  EXPECT_EQ(vars.GetVariableValue("%ISODate%"), "2024-03-07");
  EXPECT_EQ(vars.GetVariableValue("%A%%IsAdmin%"), "a1");
  EXPECT_EQ(vars.GetVariableValue("%SoftwareName%"), "Tom & Jerry");
  EXPECT_EQ(vars.GetVariableValue(""), "");
}

TEST(ExpansionWithoutMachine, MachineNamesAreEmpty) {
  Variables vars;
  vars.SetVariable("%A%", "1");
  EXPECT_EQ(vars.ExpandText("%WinDir%|%IsNT%|%Date%|%CmdLineParam%|%A%|%ProgramGroupDir%"),
            "||||1|\\%ProgramGroup%");  // an unset program group stays a reference
}

}  // namespace
}  // namespace kvb
