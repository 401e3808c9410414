#include "engine_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "install/install_rules.h"
#include "setupdata/default_messages.h"
#include "vars/variable_loading.h"

namespace kvb::test {

std::string RandomBytes(size_t size, uint32_t seed) {
  std::string out(size, '\0');
  for (char& c : out) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  return out;
}

std::string TextBytes(size_t size) {
  std::string out;
  for (size_t i = 0; out.size() < size; ++i)
    out += "line " + std::to_string(i % 977) + " of text\n";
  out.resize(size);
  return out;
}

EngineTest::EngineTest() {
  info.folders[MachineFolder::kWindows] = "C:\\Windows";
  info.folders[MachineFolder::kSystem] = "C:\\Windows\\System32";
  info.folders[MachineFolder::kProgramFiles] = "C:\\Program Files";
  info.folders[MachineFolder::kSource] = "C:\\Downloads\\";
  info.folders[MachineFolder::kActiveSync] = "C:\\ActiveSync\\";
  info.shell[0][static_cast<int>(ShellFolderKind::kPrograms)] = kPrograms;
  info.facts[MachineFact::kOSMajorVersion] = "5";
  vars = std::make_unique<Variables>(&info);
  vars->TempSetupDir = kTempDir;
  data.LanguageLessMessages = DefaultMessages();
  data.Properties.SoftwareName = "Demo";
  data.Properties.CompanyName = "Acme";
  data.Properties.Comments = "A demo";
  data.Properties.DisplayName = "%SoftwareName% 1.0";
  data.Properties.DisplayVersion = "1.0";
  data.StartupOptions[kWriteUninstallInfo] = 1;
  data.MainArchiveSpan = 100;
  data.MainArchiveScale = 1;
  ApplySetupProperties(*vars, data.Properties);
  vars->SetVariable("%InstallDir%", kInstallDir);
  vars->SetVariable("%ProgramGroup%", "Demo");
  vars->SetVariable("%Language%", "");
  for (const char* folder : {"C:\\Windows", "C:\\Windows\\System32", "C:\\Program Files",
                             "C:\\Temp", kTempDir, "C:\\Menu", kPrograms, "C:\\Downloads"}) {
    machine.folders.insert(folder);
  }
  machine.files[kSetupPath] = FakeFile{"MZ"};
}

TSetupInstallerFile& EngineTest::AddFile(const std::string& name,
                                         const std::string& content,
                                         const std::string& dest_dir,
                                         uint8_t mode) {
  TSetupInstallerFile record;
  record.EntryIndex = static_cast<uint32_t>(data.DeviceFiles.size());
  record.FileDate = kDate;
  record.File.SourceName = name;
  record.File.DestDir = dest_dir;
  record.File.OverwriteMode = mode;
  record.File.Size = static_cast<uint32_t>(content.size());
  entries.push_back(
      ArchiveEntry::FromBytes(static_cast<int32_t>(record.EntryIndex), kDate, content));
  data.DeviceFiles.push_back(record);
  const std::string folder = dest_dir.size() > 1 ? dest_dir.substr(0, dest_dir.size() - 1) : "";
  if (std::find(data.FileFolders.begin(), data.FileFolders.end(), folder) == data.FileFolders.end())
    data.FileFolders.push_back(folder);
  return data.DeviceFiles.back();
}

TSetupShortcut& EngineTest::AddShortcut(const std::string& name, const std::string& target) {
  TSetupShortcut shortcut;
  shortcut.Name = name;
  shortcut.Target = target;
  shortcut.Folder = "%ProgramGroupDir%\\";
  shortcut.ShowCmd = 1;
  data.Shortcuts.push_back(shortcut);
  return data.Shortcuts.back();
}

TSetupRegChange& EngineTest::AddRegChange(uint8_t root,
                                          const std::string& key,
                                          const std::string& name,
                                          uint32_t type,
                                          const std::string& value) {
  TSetupRegChange change;
  change.Root = root;
  change.Key = key;
  change.ValueName = name;
  change.ValueType = type;
  change.Data = value;
  data.RegChanges.push_back(change);
  return data.RegChanges.back();
}

void EngineTest::Build(uint64_t volume_size) {
  ArchiveBlockContent block{"", entries};
  ArchiveWriteOptions options;
  options.Threads = 1;
  if (volume_size == 0) {
    std::ostringstream out;
    const std::string image = "MZ-setup-image--";
    out << image;
    WriteArchiveBlock(out, block, options);
    archive_offset = static_cast<int32_t>(image.size());
    setup_file = std::make_unique<MemorySource>(out.str());
    return;
  }
  // Volumes are written to a scratch folder and placed beside the setup program.
  const auto dir =
      std::filesystem::temp_directory_path() /
      ("kvb-engine-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::create_directories(dir);
  const ArchiveBlockInfo info_written =
      WriteArchiveVolumes((dir / "Setup.exe").string(), volume_size, block, options);
  for (uint32_t v = 1; v <= info_written.Volumes; ++v) {
    char ext[8];
    std::snprintf(ext, sizeof ext, ".%03u", v);
    std::ifstream in(dir / ("Setup" + std::string(ext)), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    machine.files[std::string("C:\\Downloads\\Setup") + ext] = FakeFile{bytes.str()};
  }
  std::filesystem::remove_all(dir);
  archive_offset = 0;
  setup_file = std::make_unique<MemorySource>("MZ");
}

std::unique_ptr<TKalvenbrookerInstall> EngineTest::MakeEngine(DeviceSteps* devices) {
  InstallContext context(data, *vars, host, machine);
  context.Devices = devices;
  context.SetupFile = setup_file.get();
  context.ArchiveOffset = archive_offset;
  context.SetupPath = kSetupPath;
  context.TempSetupDir = kTempDir;
  context.Maintenance = maintenance;
  context.PreviousItems = &previous_items;
  context.NewComponents = new_components;
  auto engine = std::make_unique<TKalvenbrookerInstall>(context);
  host.on_close = [raw = engine.get()] { raw->Abort(); };
  return engine;
}

void EngineTest::RunAll(TKalvenbrookerInstall& engine) {
  engine.ShowFirstBillboard();
  engine.InstallFiles();
  engine.CreateShortcuts();
  engine.ApplyRegistryChanges();
  engine.RegisterUninstall();
  engine.CloseBillboard();
  engine.Finish();
}

std::unique_ptr<TKalvenbrookerInstall> EngineTest::Install() {
  Build();
  auto engine = MakeEngine();
  RunAll(*engine);
  return engine;
}

}  // namespace kvb::test
