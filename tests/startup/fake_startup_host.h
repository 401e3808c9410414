// A start-up host for the host tests: files and folders in memory, a fixed machine, and
// a log of everything the sequence asks of the platform, in order.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "startup/startup_host.h"
#include "vars/fake_machine.h"

namespace kvb::test {

inline constexpr char kTempFolder[] = "C:\\Temp\\";

// File names compare as on Windows: without regard to case.
struct PathLess {
  bool operator()(const std::string& a, const std::string& b) const;
};
using PathSet = std::set<std::string, PathLess>;
template <typename Value>
using PathMap = std::map<std::string, Value, PathLess>;

class FakeStartupHost final : public StartupHost {
 public:
  explicit FakeStartupHost(std::optional<std::string> own_file);

  // --- what the test sets up ---
  std::optional<std::string> own_file;
  std::string temp_folder = kTempFolder;
  PathSet folders;             // existing folders, without a trailing backslash
  PathSet unwritable_folders;  // CreateFolder fails for these
  PathMap<std::string> files;  // path -> content
  // Files the archive reader cannot delete (read-only or locked); DeleteFile, which
  // clears the read-only attribute, still can.
  PathSet undeletable_files;
  PathSet uncreatable_files;  // the archive reader cannot create these (disk full ...)
  bool activesync = false;
  bool hotsync = false;
  std::string hotsync_user;
  ScreenSize screen{1024, 768};
  MainFormEnd main_form_end = MainFormEnd::kFinished;  // how the main form ends
  std::map<std::string, std::string> registry;         // "root|key|value" -> text
  FakeMachine machine;

  // --- what the sequence did ---
  std::vector<std::string> log;  // one line per platform request, see the .cpp
  std::string title;
  std::optional<LoaderLook> loader;  // the last loader shown
  int create_folder_calls = 0;
  bool loader_open = false;
  bool splash_open = false;

  // Lines of the log that start with `prefix`.
  std::vector<std::string> LogLines(const std::string& prefix) const;

  void SetTitle(const std::string& text) override;
  std::string Title() const override { return title; }
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  std::unique_ptr<ByteSource> OpenOwnFile() override;

  std::string TempFolder() override { return temp_folder; }
  FolderCreation CreateFolder(const std::string& path) override;
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool DeleteFile(const std::string& path) override;
  void RemoveFolderTree(const std::string& path) override;
  std::unique_ptr<ArchiveFiles> CreateArchiveFiles() override;

  MachineInfo& Machine() override { return machine; }
  RegistryReader& Registry() override { return registry_reader_; }
  bool IsActiveSyncPresent() override { return activesync; }
  bool IsHotSyncPresent() override { return hotsync; }
  std::string DefaultHotSyncUser() override { return hotsync_user; }
  std::string HotSyncFolder() override { return "C:\\Palm\\"; }
  uintptr_t ApplicationHandle() override { return 0x1234; }
  uintptr_t ActiveWindowHandle() override { return 0; }
  ScriptServices CreateScriptServices(const std::vector<TSetupPlatform>& platforms) override;
  ScriptEngineOptions ScriptOptions() override { return {}; }

  ScreenSize Screen() override { return screen; }
  std::unique_ptr<StartupForm> ShowLoader(const LoaderLook& look) override;
  std::unique_ptr<StartupForm> ShowSplash(const std::string& bitmap_file,
                                          const std::string& caption) override;
  void Wait(unsigned milliseconds) override;
  MainFormEnd RunMainForm(TSetupGlobals& globals) override;
  // The option bytes the package's records carried when the main form ran.
  std::array<uint8_t, 7> main_form_options{};
  // The background items the records held when the main form ran.
  std::vector<TSetupBackItem> main_form_back_items;

 private:
  class RegistryFake : public RegistryReader {
   public:
    explicit RegistryFake(FakeStartupHost& host) : host_(host) {}
    std::optional<std::string> ReadString(RegRoot root,
                                          std::string_view key,
                                          std::string_view value_name) override;

   private:
    FakeStartupHost& host_;
  };
  RegistryFake registry_reader_{*this};
};

}  // namespace kvb::test
