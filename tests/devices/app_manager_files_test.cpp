#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "base/text.h"
#include "devices/app_manager_files.h"

namespace kvb {
namespace {

// The package's own group (two CABs) and a group whose name needs FileSafe.
std::vector<AppManagerGroup> Groups() {
  return {
      {"Tide Tables", "Tides for handhelds", "C:\\Tide\\CE\\", {"tide.arm.cab", "tide.mips.cab"}},
      {"Maps: North, South", "Coast maps", "C:\\Tide\\Maps", {"maps.cab"}}};
}

// Files written in memory; paths listed in `refused` cannot be written.
struct MemoryFolder {
  std::map<std::string, std::string> files;
  std::vector<std::string> refused;

  TextFileWriter Writer() {
    return [this](const std::string& path, const std::string& text) {
      if (std::find(refused.begin(), refused.end(), path) != refused.end())
        return false;
      files[path] = text;
      return true;
    };
  }
};

TEST(AppManagerFilesTest, FileSafeReplacesReservedCharacters) {
  EXPECT_EQ(FileSafe("a\\b/c:d*e?f\"g<h>i|j,k", true, true), "a_b_c_d_e_f_g_h_i_j_k");
  EXPECT_EQ(FileSafe("v1.2 beta", true, true), "v1.2 beta");
  EXPECT_EQ(FileSafe("v1.2 beta", false, false), "v1_2_beta");
}

TEST(AppManagerFilesTest, DescriptionFilesFollowTheLayout) {
  MemoryFolder folder;
  const std::vector<std::string> written =
      WriteAppManagerFiles(Groups(), "Sea Soft", "C:\\Tide\\Tide Tables.ico", folder.Writer());
  ASSERT_EQ(written, (std::vector<std::string>{"C:\\Tide\\CE\\Tide Tables.ini",
                                               "C:\\Tide\\Maps\\Maps_ North_ South.ini"}));
  const std::vector<std::string> first = SplitText(folder.files[written[0]], "\r\n");
  ASSERT_EQ(first.size(), 21u);  // 20 lines and the empty piece behind the last CR LF
  EXPECT_EQ(first[0], ";" + std::string(50, '='));
  EXPECT_EQ(first[1], "; Tide Tables.ini");
  EXPECT_EQ(first[2], ";");
  EXPECT_EQ(first[6], ";");
  EXPECT_EQ(first[7], "; Setup created by Sea Soft with");
  EXPECT_EQ(first[9], first[0]);
  const std::vector<std::string> tail(first.begin() + 10, first.end());
  const std::vector<std::string> expected = {"",
                                             "[CEAppManager]",
                                             "Version = 1.0",
                                             "Component = Tide Tables",
                                             "",
                                             "[Tide Tables]",
                                             "Description = \"Tides for handhelds\"",
                                             "Uninstall = \"Sea Soft Tide Tables\"",
                                             "IconFile = \"Tide Tables.ico\"",
                                             "CabFiles = tide.arm.cab,tide.mips.cab",
                                             ""};
  EXPECT_EQ(tail, expected);
  // The second file has no "Uninstall" line and keeps the group name unchanged inside.
  const std::string& second = folder.files[written[1]];
  EXPECT_EQ(FindText(second, "Uninstall"), std::string::npos);
  EXPECT_NE(second.find("\r\nComponent = Maps: North, South\r\n\r\n[Maps: North, South]"),
            std::string::npos);
  EXPECT_NE(second.find("; Maps_ North_ South.ini\r\n"), std::string::npos);
}

TEST(AppManagerFilesTest, NoIconLineWithoutAnIcon) {
  const std::string text = AppManagerFileText(Groups()[0], "C", "", true);
  EXPECT_EQ(text.find("IconFile"), std::string::npos);
}

TEST(AppManagerFilesTest, TheFirstFileWrittenCarriesTheUninstallLine) {
  MemoryFolder folder;
  folder.refused = {"C:\\Tide\\CE\\Tide Tables.ini"};
  const std::vector<std::string> written =
      WriteAppManagerFiles(Groups(), "Sea Soft", "", folder.Writer());
  ASSERT_EQ(written, std::vector<std::string>{"C:\\Tide\\Maps\\Maps_ North_ South.ini"});
  EXPECT_NE(folder.files[written[0]].find("\r\nUninstall = \"Sea Soft Maps: North, South\"\r\n"),
            std::string::npos);
  EXPECT_TRUE(WriteAppManagerFiles({}, "Sea Soft", "", folder.Writer()).empty());
}

}  // namespace
}  // namespace kvb
