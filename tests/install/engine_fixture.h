// A package in memory, a machine and a wizard stand-in for the host tests of the
// installation engine.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_install_host.h"
#include "fake_install_machine.h"
#include "install/kalvenbrooker_install.h"
#include "setupdata/archive_writer.h"
#include "vars/fake_machine.h"

namespace kvb::test {

inline constexpr char kInstallDir[] = "C:\\Program Files\\Demo";
inline constexpr char kTempDir[] = "C:\\Temp\\kvb001";
inline constexpr char kPrograms[] = "C:\\Menu\\Programs";
inline constexpr char kSetupPath[] = "C:\\Downloads\\Setup.exe";
inline constexpr uint32_t kDate = 0x58612000;  // 2024-03-01 04:00

// Bytes that do not compress, and bytes that compress well.
std::string RandomBytes(size_t size, uint32_t seed = 1);
std::string TextBytes(size_t size);

class EngineTest : public ::testing::Test {
 protected:
  EngineTest();

  // Adds a file record with its archive entry (in the main block); returns the record.
  TSetupInstallerFile& AddFile(const std::string& name,
                               const std::string& content,
                               const std::string& dest_dir = "%InstallDir%\\",
                               uint8_t mode = 6);
  void AddComponent(const std::string& name) {
    TInstallerComponent component;
    component.Component.Name = name;
    data.Components.push_back(component);
  }
  TSetupShortcut& AddShortcut(const std::string& name, const std::string& target);
  TSetupRegChange& AddRegChange(uint8_t root,
                                const std::string& key,
                                const std::string& name,
                                uint32_t type,
                                const std::string& data);
  // Writes the main block into the setup file (or into volumes of `volume_size` bytes,
  // placed as files of the machine beside the setup program).
  void Build(uint64_t volume_size = 0);
  std::unique_ptr<TKalvenbrookerInstall> MakeEngine(DeviceSteps* devices = nullptr);
  // Every step in the wizard's order, then Finish.
  void RunAll(TKalvenbrookerInstall& engine);
  // Builds, installs and returns the engine (finished).
  std::unique_ptr<TKalvenbrookerInstall> Install();
  std::string Path(const std::string& name) const { return std::string(kInstallDir) + "\\" + name; }

  FakeMachine info;
  std::unique_ptr<Variables> vars;
  TSetupData data;
  FakeInstallMachine machine;
  FakeInstallHost host;
  std::vector<ArchiveEntry> entries;
  std::unique_ptr<MemorySource> setup_file;
  int32_t archive_offset = 0;
  bool maintenance = false;
  std::vector<TUninstItem> previous_items;
  std::string new_components;
};

}  // namespace kvb::test
