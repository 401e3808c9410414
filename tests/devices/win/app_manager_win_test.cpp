// The Application Manager step with the stand-in CEAPPMGR.EXE: the description files
// written, the program started with their quoted paths and waited for, and the staged
// files of a device-only package removed.
#include <gtest/gtest.h>

#include "base/text.h"
#include "devices/app_manager_win.h"
#include "devices/win/standin_support.h"

namespace kvb {
namespace {

TEST(AppManagerWinTest, WritesTheFilesAndHandsThemToTheApplicationManager) {
  StandinDevice scratch("");
  const std::string folder = scratch.Folder();
  CreateDirectoryA((folder + "\\CE").c_str(), nullptr);
  TSetupData data;
  data.Properties.SoftwareName = "Tides";
  data.Properties.DeviceGroup = {"", "%InstallDir%\\CE", "", "", "", 0, "tides.cab"};
  data.DeviceGroups = {{"Maps, North", "%InstallDir%\\CE", "Maps", "", "", 0, "maps.cab"}};
  TSetupInstallerFile tides, maps;
  tides.File.SourceName = "tides.cab";
  maps.File.SourceName = "maps.cab";
  tides.File.DestDir = maps.File.DestDir = "%InstallDir%\\CE";
  data.DeviceFiles = {tides, maps};
  auto expand = [&](const std::string& text) {
    return folder + text.substr(std::string("%InstallDir%").size());
  };
  const std::vector<AppManagerFile> plan =
      PlanAppManagerFiles(data, [](const TSetupFile&) { return true; }, expand, {"Sea", ""});
  const std::vector<std::string> written = WriteAppManagerFiles(plan);
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[1], folder + "\\CE\\Maps_ North.ini");
  EXPECT_EQ(ReadAll(written[0]), plan[0].Text);

  const std::string appmgr = CeAppMgrPath(StandinFolder());
  EXPECT_EQ(AppManagerArgumentsFor(folder + "\\no-such.exe", written), "");
  const std::string arguments = AppManagerArgumentsFor(appmgr, written);
  EXPECT_EQ(arguments, "\"" + written[0] + "\" \"" + written[1] + "\"");
  const std::string log = folder + "\\appmgr.log";
  SetEnvironmentVariableA("KVB_STANDIN_APPMGR_LOG", log.c_str());
  EXPECT_TRUE(RunAppManager(appmgr, arguments, folder));
  SetEnvironmentVariableA("KVB_STANDIN_APPMGR_LOG", nullptr);
  // Waited for: the log is complete when the call returns.
  const std::string recorded = ReadAll(log);
  EXPECT_EQ(recorded.substr(0, recorded.find('\n')), "ARGS " + arguments);
  EXPECT_NE(recorded.find("FILE " + written[1] + "\n" + plan[1].Text + "END\n"), std::string::npos);
  EXPECT_FALSE(RunAppManager(appmgr, "", folder));
}

TEST(AppManagerWinTest, StagedFilesAndTheirFoldersAreRemoved) {
  StandinDevice scratch("");
  const std::string base = scratch.Folder() + "\\stage";
  const std::string inner = base + "\\CE";
  CreateDirectoryA(base.c_str(), nullptr);
  CreateDirectoryA(inner.c_str(), nullptr);
  WriteAll(inner + "\\a.cab", "a");
  WriteAll(inner + "\\a.ini", "i");
  WriteAll(base + "\\kept.txt", "k");
  const std::pair<uint8_t, std::string> logged[] = {
      {4, base},
      {4, inner},
      {1, inner + "\\a.cab"},
      {2, inner + "\\a.ini"},
      {0, base + "\\kept.txt"}};  // an ordinary file stays, and so does its folder
  std::vector<TUninstItem> items;
  for (const auto& [kind, path] : logged) {
    items.emplace_back();
    items.back().Kind = kind;
    items.back().Path = path;
  }
  RemoveStagedFiles(items);
  EXPECT_EQ(GetFileAttributesA(inner.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadAll(base + "\\kept.txt"), "k");
}

}  // namespace
}  // namespace kvb
