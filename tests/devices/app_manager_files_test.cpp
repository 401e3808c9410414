#include <gtest/gtest.h>

#include "base/text.h"
#include "devices/app_manager_files.h"

namespace kvb {
namespace {

TSetupInstallerFile Cab(const char* name, const char* folder, const char* components = "") {
  TSetupInstallerFile file;
  file.File.SourceName = name;
  file.File.DestDir = folder;
  file.File.Components = components;
  return file;
}

// A package with its own group (two CABs) and two further groups.
TSetupData DevicePackage() {
  TSetupData data;
  data.Properties.SoftwareName = "Tide Tables";
  data.Properties.Comments = "Tides for handhelds";
  data.Properties.DeviceGroup.Folder = "%InstallDir%\\CE";
  data.Properties.DeviceGroup.CabFiles = "tide.arm.cab|tide.mips.cab|";
  TSetupDeviceFileGroup maps;
  maps.Name = "Maps: North, South";
  maps.Folder = "%InstallDir%\\Maps\\";
  maps.Text3 = "Coast maps";
  maps.CabFiles = "maps.cab";
  TSetupDeviceFileGroup unused;
  unused.Name = "Unused";
  unused.Folder = "%InstallDir%\\CE";
  unused.CabFiles = "other.cab";
  data.DeviceGroups = {maps, unused};
  data.DeviceFiles = {Cab("readme.txt", "%InstallDir%"), Cab("TIDE.ARM.CAB", "%installdir%\\ce\\"),
                      Cab("maps.cab", "%InstallDir%\\Maps", "Maps"),
                      Cab("other.cab", "%InstallDir%\\Elsewhere")};
  return data;
}

std::string Expand(const std::string& text) {
  std::string out = text;
  const size_t at = FindText(out, "%InstallDir%");
  if (at != std::string::npos)
    out.replace(at, 12, "C:\\Tide");
  return out;
}

bool All(const TSetupFile&) {
  return true;
}

TEST(AppManagerFilesTest, FileSafeReplacesReservedCharacters) {
  EXPECT_EQ(FileSafe("a\\b/c:d*e?f\"g<h>i|j,k", true, true), "a_b_c_d_e_f_g_h_i_j_k");
  EXPECT_EQ(FileSafe("v1.2 beta", true, true), "v1.2 beta");
  EXPECT_EQ(FileSafe("v1.2 beta", false, false), "v1_2_beta");
}

TEST(AppManagerFilesTest, OnlyGroupsWithSelectedCabsInTheirFolderGetFiles) {
  const TSetupData data = DevicePackage();
  const AppManagerFacts facts{"Sea Soft", ""};
  std::vector<AppManagerFile> plan = PlanAppManagerFiles(data, All, Expand, facts);
  ASSERT_EQ(plan.size(), 2u);
  EXPECT_EQ(plan[0].Path, "C:\\Tide\\CE\\Tide Tables.ini");
  EXPECT_EQ(plan[1].Path, "C:\\Tide\\Maps\\Maps_ North_ South.ini");
  EXPECT_EQ(AppManagerArguments({plan[0].Path, plan[1].Path}),
            "\"C:\\Tide\\CE\\Tide Tables.ini\" \"C:\\Tide\\Maps\\Maps_ North_ South.ini\"");

  // Deselecting the maps component drops its group; the own group stays first.
  auto no_maps = [](const TSetupFile& f) { return f.Components != "Maps"; };
  plan = PlanAppManagerFiles(data, no_maps, Expand, facts);
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0].Path, "C:\\Tide\\CE\\Tide Tables.ini");
  EXPECT_EQ(AppManagerArguments({}), "");
}

TEST(AppManagerFilesTest, DescriptionFilesFollowTheLayout) {
  const TSetupData data = DevicePackage();
  const std::vector<AppManagerFile> plan =
      PlanAppManagerFiles(data, All, Expand, {"Sea Soft", "C:\\Tide\\Tide Tables.ico"});
  ASSERT_EQ(plan.size(), 2u);
  const std::vector<std::string> first = SplitText(plan[0].Text, "\r\n");
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
  EXPECT_EQ(FindText(plan[1].Text, "Uninstall"), std::string::npos);
  EXPECT_NE(plan[1].Text.find("\r\nComponent = Maps: North, South\r\n\r\n[Maps: North, South]"),
            std::string::npos);
  EXPECT_NE(plan[1].Text.find("; Maps_ North_ South.ini\r\n"), std::string::npos);
}

TEST(AppManagerFilesTest, NoIconLineWithoutAnIcon) {
  const std::string text =
      AppManagerFileText(DeviceFileGroups(DevicePackage())[0], {"C", ""}, true);
  EXPECT_EQ(text.find("IconFile"), std::string::npos);
}

}  // namespace
}  // namespace kvb
