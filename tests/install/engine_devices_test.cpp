// The engine's device steps through the device interface: device CAB files, the
// Application Manager files of the groups in use, Palm files handed to each HotSync user,
// conduits (and their removal when the installation is undone), the staged-file clean-up.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "install/device_steps.h"

namespace kvb::test {
namespace {

class FakeDeviceSteps final : public DeviceSteps {
 public:
  std::vector<std::string> calls;
  std::vector<AppManagerGroup> groups;
  bool conduit_fails = false;

  std::vector<std::string> WriteAppManagerFiles(const std::vector<AppManagerGroup>& in_use,
                                                const std::string& company,
                                                const std::string& icon) override {
    groups = in_use;
    std::vector<std::string> files;
    for (const AppManagerGroup& g : in_use)
      files.push_back(g.Folder + g.Name + ".ini");
    calls.push_back("ini " + company + " icon=" + icon);
    return files;
  }
  void RunAppManager(const std::string& program,
                     const std::string& arguments,
                     const std::string& folder) override {
    calls.push_back("run " + program + " " + arguments + " in " + folder);
  }
  bool InstallForUser(const std::string& user, const std::string& file) override {
    calls.push_back("palm " + user + " " + file);
    return true;
  }
  bool RegisterConduit(const THotSyncConduit& conduit) override {
    calls.push_back("conduit " + conduit.Creator + " " + conduit.ConduitFile);
    return !conduit_fails;
  }
  bool RemoveConduit(const std::string& creator) override {
    calls.push_back("remove conduit " + creator);
    return true;
  }
  void RemoveStagedFiles(const std::vector<TUninstItem>& items) override {
    calls.push_back("staged " + std::to_string(items.size()));
  }
};

class EngineDevicesTest : public EngineTest {
 protected:
  EngineDevicesTest() {
    // Written without the backslash that the CAB's folder has: still the same folder.
    data.Properties.DeviceGroup.Folder = "%InstallDir%\\CE";
    data.Properties.DeviceGroup.CabFiles = "app.arm.cab|app.mips.cab";
    TSetupDeviceFileGroup extra;
    extra.Name = "Extra";
    extra.Folder = "%InstallDir%\\CE\\";
    extra.Text3 = "Extra things";
    extra.CabFiles = "extra.cab";
    data.DeviceGroups.push_back(extra);
    AddFile("app.arm.cab", "cab", "%InstallDir%\\CE\\");
    AddFile("Demo.ico", "icon");
    AddFile("palm.prc", "prc").File.PalmFile = 1;
    THotSyncConduit conduit;
    conduit.Creator = "DEMO";
    conduit.ConduitFile = "%InstallDir%\\Demo.ico";
    data.Conduits.push_back(conduit);
    vars->SetVariable("%HotSyncUser%", "Ann, Bob");
    machine.AddFile("C:\\ActiveSync\\CEAPPMGR.EXE", "mgr");
  }

  std::unique_ptr<TKalvenbrookerInstall> InstallWithDevices() {
    Build();
    auto engine = MakeEngine(&devices);
    RunAll(*engine);
    return engine;
  }

  FakeDeviceSteps devices;
};

TEST_F(EngineDevicesTest, DeviceFilesGroupsPalmFilesAndConduits) {
  auto engine = InstallWithDevices();
  ASSERT_FALSE(engine->Aborted());
  EXPECT_EQ(host.detail_lines[0], "Device Files");
  ASSERT_EQ(devices.groups.size(), 1u);  // the extra group's CAB is not in the package
  EXPECT_EQ(devices.groups[0].Name, "Demo");
  EXPECT_EQ(devices.groups[0].Description, "A demo");
  EXPECT_EQ(devices.groups[0].Folder, Path("CE\\"));
  EXPECT_EQ(devices.groups[0].CabFiles, (std::vector<std::string>{"app.arm.cab", "app.mips.cab"}));
  const std::vector<std::string> expected = {
      "ini Acme icon=" + Path("Demo.ico"),
      "palm Ann " + Path("palm.prc"),
      "palm Bob " + Path("palm.prc"),
      "conduit DEMO " + Path("Demo.ico"),
  };
  EXPECT_EQ(devices.calls, expected);
  const auto& items = engine->UninstItems();
  auto has = [&](uint8_t kind, const std::string& path) {
    return std::any_of(items.begin(), items.end(),
                       [&](const TUninstItem& i) { return i.Kind == kind && i.Path == path; });
  };
  EXPECT_TRUE(has(kItemDeviceFile, Path("CE\\app.arm.cab")));
  EXPECT_TRUE(has(kItemPlainFile, Path("CE\\Demo.ini")));
  EXPECT_TRUE(has(kItemConduit, "DEMO"));

  EXPECT_EQ(engine->AppManagerArguments(), "\"" + Path("CE\\Demo.ini") + "\"");
  engine->RunAppManager();
  EXPECT_EQ(devices.calls.back(),
            "run C:\\ActiveSync\\CEAPPMGR.EXE \"" + Path("CE\\Demo.ini") + "\" in " + Path(""));
  engine->RemoveStagedFiles();  // not a device-only package
  EXPECT_EQ(devices.calls.back().rfind("run ", 0), 0u);
}

TEST_F(EngineDevicesTest, UndoneInstallationsRemoveTheirConduits) {
  machine.unwritable_files.insert(Path("uninst.dat"));
  auto engine = InstallWithDevices();
  EXPECT_TRUE(engine->Aborted());
  EXPECT_EQ(devices.calls.back(), "remove conduit DEMO");
  EXPECT_EQ(engine->AppManagerArguments(), "");
}

TEST_F(EngineDevicesTest, FailingConduitsAreReportedAndDeviceOnlyPackagesCleanUp) {
  devices.conduit_fails = true;
  data.StartupOptions[kDevicesOnly] = 1;
  auto engine = InstallWithDevices();
  EXPECT_EQ(host.MessageTexts(),
            std::vector<std::string>{"Conduit file registration Error: " + Path("Demo.ico")});
  engine->RemoveStagedFiles();
  EXPECT_EQ(devices.calls.back().rfind("staged ", 0), 0u);
}

}  // namespace
}  // namespace kvb::test
