// Billboard selection, the program icon's name, component lists and forbidden folders.
#include <gtest/gtest.h>

#include "install/install_rules.h"

namespace kvb {
namespace {

TEST(InstallRulesTest, BillboardForEachPercentage) {
  struct Case {
    int count, percent, expected;
  };
  for (const Case& c : std::vector<Case>{{0, 50, -1},
                                         {1, 0, 0},
                                         {1, 50, 0},
                                         {3, 0, 0},
                                         {3, 1, 0},
                                         {3, 33, 0},
                                         {3, 34, 1},
                                         {3, 66, 1},
                                         {3, 67, 2},
                                         {3, 99, 2},  // beyond 3 * 33: the last
                                         {3, 100, 2},
                                         {3, 255, 2},
                                         {200, 50, 199}}) {  // 100 / 200 = 0: never a band
    EXPECT_EQ(SelectBillboard(c.count, c.percent), c.expected) << c.count << " " << c.percent;
  }
}

TEST(InstallRulesTest, ProgramIconNameReplacesUnsafeCharacters) {
  EXPECT_EQ(ProgramIconName("My App 1.2: A/B*?\"<>|,\\"), "My App 1_2_ A_B________.ico");
}

TEST(InstallRulesTest, ComponentListsAndHotSyncUsers) {
  EXPECT_TRUE(ComponentListSelected("", ""));
  EXPECT_TRUE(ComponentListSelected("docs|Program", "program|Extra"));
  EXPECT_FALSE(ComponentListSelected("Docs", "Program"));
  EXPECT_FALSE(ComponentListSelected("Docs", ""));
  EXPECT_FALSE(ComponentListSelected("|", "Program"));
  EXPECT_EQ(HotSyncUserNames("Ann, Bob Smith, "), (std::vector<std::string>{"Ann", "Bob Smith"}));
  EXPECT_TRUE(IsCabName("sub\\App.ARM.CAB", "x.cab|app.arm.cab"));
  EXPECT_FALSE(IsCabName("app.cab", "app.cab2"));
}

TEST(InstallRulesTest, ForbiddenInstallFolders) {
  for (const char* f : {"", "C:", "C:\\", "\\\\server\\share", "\\\\server\\share\\", "c:\\windows",
                        "C:\\WINDOWS\\system32\\"}) {
    EXPECT_TRUE(IsForbiddenInstallFolder(f, "C:\\Windows\\", "C:\\Windows\\System32")) << f;
  }
  for (const char* f : {"C:\\Windows\\Demo", "\\\\server\\share\\app", "D:\\Apps"})
    EXPECT_FALSE(IsForbiddenInstallFolder(f, "C:\\Windows\\", "C:\\Windows\\System32")) << f;
}

}  // namespace
}  // namespace kvb
