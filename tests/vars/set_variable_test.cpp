#include <gtest/gtest.h>

#include "vars/variables.h"

namespace kvb {
namespace {

class SetVariableTest : public ::testing::Test {
 protected:
  SetVariableTest() {
    vars.SetupTypeComponents = {"Core|Help", "Core", "Core|Extra"};
    vars.SelectedComponents = "Core|Help";
    vars.OnVariableChanged = [this](const std::string& name, const std::string& value) {
      changes.emplace_back(name, value);
    };
  }
  std::string Stored(std::string_view name) {
    const int index = vars.List().IndexOf(name);
    return index < 0 ? "<absent>" : vars.List().GetItem(index).second;
  }

  Variables vars;
  std::vector<std::pair<std::string, std::string>> changes;
};

TEST_F(SetVariableTest, ReadOnlyNamesAreIgnoredSilently) {
  for (const char* name : {"%IsAdmin%", "Date", "%date%", "%SetupComponents%", "CmdLineParam"}) {
    vars.SetVariable(name, "x");
  }
  EXPECT_EQ(vars.List().Count(), 0);
  EXPECT_TRUE(changes.empty());
}

TEST_F(SetVariableTest, StoresNameAsPassedAndValueExpandedOnce) {
  vars.SetVariable("%B%", "q");
  vars.SetVariable("Plain", "x%B%");
  vars.SetVariable("%installdir%", "a");
  vars.SetVariable("%InstallDir%", "C:\\App\\", /*directory=*/true);
  EXPECT_EQ(vars.List().GetItem(vars.List().IndexOf("plain")).first, "Plain");
  EXPECT_EQ(Stored("Plain"), "xq");
  EXPECT_EQ(vars.List().GetItem(vars.List().IndexOf("%INSTALLDIR%")).first, "%installdir%");
  EXPECT_EQ(Stored("%InstallDir%"), "C:\\App");
  using Change = std::pair<std::string, std::string>;
  EXPECT_EQ(
      changes,
      (std::vector<Change>{
          {"%B%", "q"}, {"%Plain%", "x%B%"}, {"%installdir%", "a"}, {"%InstallDir%", "C:\\App"}}));
}

TEST_F(SetVariableTest, DirectoryFlagRemovesOneBackslash) {
  vars.SetVariable("%D%", "C:\\App\\\\", true);
  vars.SetVariable("%E%", "C:\\App\\\\", false);
  EXPECT_EQ(Stored("%D%"), "C:\\App\\");
  EXPECT_EQ(Stored("%E%"), "C:\\App\\\\");
}

TEST_F(SetVariableTest, SetupTypeSwitchesComponentsAndRemembersCustom) {
  struct Step {
    const char* assign;        // value assigned to %SetupType%
    const char* custom_edit;   // selection made by the user before the assignment
    const char* stored;        // %SetupType% afterwards
    const char* selected;      // SelectedComponents afterwards
    const char* custom_entry;  // SetupTypeComponents[2] afterwards
  };
  const Step steps[] = {
      {"1", nullptr, "1", "Core", "Core|Extra"},
      {"2", nullptr, "2", "Core|Extra", "Core|Extra"},
      {"0", "Core|Mine", "0", "Core|Help", "Core|Mine"},  // leaving type 2 keeps the edit
      {"2", nullptr, "2", "Core|Mine", "Core|Mine"},
      {"3", nullptr, "0", "Core|Help", "Core|Mine"},  // not 0-2: type 0
      {"x", nullptr, "0", "Core|Help", "Core|Mine"},
      {"1", "Ignored", "1", "Core", "Core|Mine"},  // edits outside type 2 are not kept
  };
  for (const Step& step : steps) {
    if (step.custom_edit)
      vars.SelectedComponents = step.custom_edit;
    vars.SetVariable("%setuptype%", step.assign);
    EXPECT_EQ(Stored("%SetupType%"), step.stored) << step.assign;
    EXPECT_EQ(vars.SelectedComponents, step.selected) << step.assign;
    EXPECT_EQ(vars.SetupTypeComponents[2], step.custom_entry) << step.assign;
  }
  EXPECT_EQ(changes[4], std::make_pair(std::string("%setuptype%"), std::string("0")));
}

TEST_F(SetVariableTest, CommonShellFolders) {
  const std::tuple<const char*, bool, const char*> cases[] = {
      {"1", true, "1"}, {"yes", false, "0"}, {"1", true, "1"}, {"", false, "0"}, {" 1", false, "0"},
  };
  for (const auto& [value, flag, stored] : cases) {
    vars.SetVariable("CommonShellFolders", value);
    EXPECT_EQ(vars.UseCommonShellFolders, flag) << value;
    EXPECT_EQ(Stored("CommonShellFolders"), stored) << value;
  }
}

}  // namespace
}  // namespace kvb
