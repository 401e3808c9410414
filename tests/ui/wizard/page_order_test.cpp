#include "ui/wizard/page_order.h"

#include <gtest/gtest.h>

namespace kvb::test {
namespace {

TSetupDialog Dialog(const std::string& name, uint8_t type = 0) {
  TSetupDialog dialog;
  dialog.Name = name;
  dialog.Type = type;
  return dialog;
}

// The sample's order: "INSTALL" first, a style, then the pages.
std::vector<TSetupDialog> SampleDialogs() {
  return {Dialog("INSTALL"), Dialog("High-Tech Normal", 2), Dialog("Welcome"), Dialog("Licence"),
          Dialog("Finish")};
}

TEST(PageOrderTest, FirstAndLastPagesLeaveInstallAndStylesOut) {
  const auto dialogs = SampleDialogs();
  EXPECT_EQ(FirstPageName(dialogs), "Welcome");
  EXPECT_EQ(LastPageName(dialogs), "Finish");
  std::vector<TSetupDialog> install_last = {Dialog("A"), Dialog("B"), Dialog("install")};
  EXPECT_EQ(LastPageName(install_last), "B");
  EXPECT_EQ(FirstPageName({Dialog("S", 2)}), "");
}

TEST(PageOrderTest, NextAndBackWalkThePages) {
  const auto dialogs = SampleDialogs();
  struct Case {
    PagePosition position;
    const char* next;
    const char* previous;
  };
  const Case cases[] = {
      {{"", ""}, "Welcome", "Welcome"},
      {{"Welcome", ""}, "Licence", "Welcome"},
      {{"Licence", ""}, "Finish", "Welcome"},
      {{"Finish", ""}, "Finish", "Licence"},
      // While "INSTALL" shows, the walks start from the page it was entered from.
      {{"INSTALL", "Welcome"}, "Licence", "INSTALL"},
      {{"INSTALL", "Licence"}, "Finish", "Welcome"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position.CurrentName + "/" + c.position.PageBeforeInstall);
    EXPECT_EQ(NextPageName(dialogs, c.position), c.next);
    EXPECT_EQ(PreviousPageName(dialogs, c.position), c.previous);
  }
}

TEST(PageOrderTest, InstallBetweenPagesIsReachedLikeAnyPage) {
  const std::vector<TSetupDialog> dialogs = {Dialog("Ready"), Dialog("Install"), Dialog("Done")};
  EXPECT_EQ(NextPageName(dialogs, {"Ready", ""}), "Install");
  EXPECT_EQ(PreviousPageName(dialogs, {"Done", ""}), "Install");
  EXPECT_EQ(NextPageName(dialogs, {"INSTALL", "Ready"}), "Install")
      << "the walk restarts from the page before, case-insensitively";
}

TEST(PageOrderTest, WalksComparePagesCaseInsensitivelyButTheEndsExactly) {
  const auto dialogs = SampleDialogs();
  EXPECT_EQ(NextPageName(dialogs, {"welcome", ""}), "Licence");
  // "finish" is not exactly the last page, so the walk runs and finds nothing behind it.
  EXPECT_EQ(NextPageName(dialogs, {"finish", ""}), "finish");
}

TEST(PageOrderTest, FindDialogTakesTheFirstOfAName) {
  std::vector<TSetupDialog> dialogs = {Dialog("Page", 2), Dialog("page")};
  const TSetupDialog* found = FindDialog(dialogs, "PAGE");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Type, 2);
  EXPECT_EQ(FindDialog(dialogs, "none"), nullptr);
}

}  // namespace
}  // namespace kvb::test
