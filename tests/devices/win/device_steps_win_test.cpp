// The device steps' Application Manager part with the stand-in CEAPPMGR.EXE: the
// description files written, the program started with their quoted paths and waited for,
// and the staged files of a device-only package removed.
#include <gtest/gtest.h>

#include "base/text.h"
#include "devices/app_manager_files.h"
#include "devices/device_steps_win.h"
#include "devices/win/standin_support.h"

namespace kvb {
namespace {

TEST(DeviceStepsWinTest, WritesTheFilesAndHandsThemToTheApplicationManager) {
  StandinDevice scratch("");
  const std::string folder = scratch.Folder();
  CreateDirectoryA((folder + "\\CE").c_str(), nullptr);
  const std::vector<AppManagerGroup> groups = {
      {"Tides", "", folder + "\\CE\\", {"tides.cab"}},
      {"Maps, North", "Maps", folder + "\\CE\\", {"maps.cab"}},
      {"Lost", "", folder + "\\missing\\", {"lost.cab"}}};  // a folder that does not exist
  const std::unique_ptr<DeviceSteps> steps = MakeDeviceSteps();
  const std::vector<std::string> written = steps->WriteAppManagerFiles(groups, "Sea", "");
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[1], folder + "\\CE\\Maps_ North.ini");
  EXPECT_EQ(ReadAll(written[0]), AppManagerFileText(groups[0], "Sea", "", true));

  const std::string appmgr = StandinFolder() + "CEAPPMGR.EXE";
  const std::string arguments = "\"" + written[0] + "\" \"" + written[1] + "\"";
  const std::string log = folder + "\\appmgr.log";
  SetEnvironmentVariableA("KVB_STANDIN_APPMGR_LOG", log.c_str());
  steps->RunAppManager(appmgr, arguments, folder);
  SetEnvironmentVariableA("KVB_STANDIN_APPMGR_LOG", nullptr);
  // Waited for: the log is complete when the call returns.
  const std::string recorded = ReadAll(log);
  EXPECT_EQ(recorded.substr(0, recorded.find('\n')), "ARGS " + arguments);
  EXPECT_NE(recorded.find("FILE " + written[1] + "\n" + ReadAll(written[1]) + "END\n"),
            std::string::npos);
  // A missing program is not reported.
  steps->RunAppManager(folder + "\\no-such.exe", arguments, folder);
}

TEST(DeviceStepsWinTest, StagedFilesAndTheirFoldersAreRemoved) {
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
  MakeDeviceSteps()->RemoveStagedFiles(items);
  EXPECT_EQ(GetFileAttributesA(inner.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadAll(base + "\\kept.txt"), "k");
}

}  // namespace
}  // namespace kvb
