// TKalvenbrookerInstall: the installation engine. Created by the wizard when the user
// confirms the installation, it places the package's files (main archive, component
// archives or volume files), registers them, creates shortcuts and registry values, the
// installed-programs entry and the uninstall log, and drives the device steps. It records
// every action as an uninstall item, and everything it changed in a journal, so that a
// cancelled or failed installation is rolled back.
//
// The wizard calls, in this order: ShowFirstBillboard, InstallFiles, CreateShortcuts,
// ApplyRegistryChanges, (maintenance removal), RegisterUninstall when the package writes
// uninstall information, CloseBillboard, AppManagerArguments / RunAppManager,
// RemoveStagedFiles for device-only packages, and Finish. Every step does nothing once
// the engine is aborted. Portable: the machine and the windows are behind interfaces.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "install/device_steps.h"
#include "install/install_host.h"
#include "install/install_journal.h"
#include "install/install_machine.h"
#include "install/overwrite_decision.h"
#include "setupdata/archive_reader.h"
#include "setupdata/setup_data.h"
#include "setupdata/uninst_item_io.h"
#include "vars/variables.h"

namespace kvb {

// Message numbers the engine shows.
enum InstallMessage {
  kMsgCannotCreateDirs = 10,
  kMsgCannotCreateEntry = 11,
  kMsgCannotCreateGroup = 16,
  kMsgRegistryError = 17,
  kMsgSharedFileError = 21,
  kMsgRegisterServerError = 22,
  kMsgTypeLibraryError = 23,
  kMsgShortcutError = 24,
  kMsgCopyingFiles = 28,
  kMsgDeviceFiles = 29,
  kMsgUninstallerFiles = 30,
  kMsgStartingDeviceInstall = 31,
  kMsgRegisteringFiles = 33,
  kMsgCreatingShortcuts = 34,
  kMsgCreatingRegistry = 35,
  kMsgConduitError = 62,
  kMsgCopyingComponent = 65,
  kMsgCannotCreateFile = 66,
};

// Fixed texts of the engine (no message number exists for them).
inline constexpr char kZipCorruptedText[] = "Kalvenbrooker Zip file corrupted.";

// Everything the engine works with, given at creation. References must outlive it.
struct InstallContext {
  InstallContext(TSetupData& data, Variables& vars, InstallHost& host, InstallMachine& machine)
      : Data(data), Vars(vars), Host(host), Machine(machine) {}

  TSetupData& Data;  // registry changes receive their expanded texts
  Variables& Vars;
  InstallHost& Host;
  InstallMachine& Machine;
  DeviceSteps* Devices = nullptr;   // nullptr: no device support, device steps do nothing
  ByteSource* SetupFile = nullptr;  // the setup program's own file (the main archive)
  int32_t ArchiveOffset = 0;        // from the trailer; 0 or less: volume files
  std::string SetupPath;            // full path of the running setup program
  std::string TempSetupDir;         // the run's temporary folder (billboards, backups)
  // A maintenance run: the previous installation's items (written first into the new
  // log) and the components selected now that were not installed before (the only ones
  // whose files, shortcuts and registry values are placed).
  bool Maintenance = false;
  const std::vector<TUninstItem>* PreviousItems = nullptr;
  std::string NewComponents;
};

class TKalvenbrookerInstall {
 public:
  explicit TKalvenbrookerInstall(InstallContext context);
  // Finishes a run that was not finished (see Finish).
  ~TKalvenbrookerInstall();
  TKalvenbrookerInstall(const TKalvenbrookerInstall&) = delete;
  TKalvenbrookerInstall& operator=(const TKalvenbrookerInstall&) = delete;

  void ShowFirstBillboard();
  void InstallFiles();
  void CreateShortcuts();
  void ApplyRegistryChanges();
  void RegisterUninstall();
  void CloseBillboard();
  // The quoted description files for the Application Manager, joined by blanks; empty
  // when aborted, when none was written or the Application Manager is missing. Not
  // empty means the wizard's windows make way while RunAppManager runs.
  std::string AppManagerArguments();
  void RunAppManager();
  void RemoveStagedFiles();
  // Ends the run: an aborted installation is rolled back, a completed one keeps its
  // changes (the backups of replaced files are deleted). Only the first call acts.
  void Finish();

  // The user confirmed that Setup ends (the wizard's close confirmation), or a step
  // failed: every further step does nothing and the extraction stops after its chunk.
  void Abort();
  bool Aborted() const { return aborted_; }
  bool Busy() const { return zip_.IsBusy(); }

  // State readable by the wizard and the tests.
  const std::vector<TUninstItem>& UninstItems() const { return items_; }
  const std::string& IconPath() const { return icon_path_; }
  const OverwriteMemory& Answers() const { return answers_; }
  uint32_t CurrentDisk() const { return current_disk_; }

 private:
  // Messages and status.
  std::string Language();
  std::string Message(int number);
  void ShowMessage(int number, MessageIcon icon, const std::string& file = {});
  void Status(StatusKind kind, const std::string& text, int value = 0);
  void Pump();
  bool SelectedForInstall(const std::string& components, const std::string& group);

  // The file step.
  bool CheckInstallFolder(const std::string& install_dir);
  bool CreateInstallFolders();
  void ExtractArchives();
  bool ExtractBlock(uint64_t offset, int32_t base, int32_t span, double scale, int32_t max);
  void ExtractVolumes();
  void BindReader();
  void BeforeFile(int32_t entry, std::string& target, bool& install, uint32_t& tag);
  bool DecideTarget(const TSetupInstallerFile& record, const std::string& target, bool exists);
  void PrepareTarget(std::string& target, bool exists);
  void AfterFile(int32_t entry, const std::string& target, uint32_t tag);
  void NeedVolume(uint16_t disk, std::string& archive_path, bool& go_on);
  void Progress(uint8_t position);
  void ShowBillboard(int percent);
  void WriteAppManagerFiles();
  void RegisterFiles();
  void RegisterFile(const TUninstItem& item);
  void RegisterConduits();
  const TSetupInstallerFile* FindRecord(int32_t entry) const;

  // Shortcuts and registry.
  bool CreateProgramGroup();
  bool CreateShortcutFolders();
  std::string ShortcutTarget(const TSetupShortcut& shortcut);
  void CreateOneShortcut(const TSetupShortcut& shortcut, bool& error_shown);
  std::vector<TUninstItem> LogItems();
  std::vector<TUninstItem> PreviousLogItems();
  const std::vector<TUninstItem>& EarlierItems();
  bool CountedBefore(const std::string& path);
  bool StillThere(const TUninstItem& item);
  bool WriteLog(const std::vector<TUninstItem>& items);
  void WriteUninstallEntry(const std::string& key,
                           const std::vector<std::pair<std::string, std::string>>& values);

  InstallContext c_;
  InstallJournal journal_;
  TSetupKVBZip zip_;
  std::vector<TUninstItem> items_;
  std::unordered_map<int64_t, size_t> records_;  // entry index -> file record
  OverwriteMemory answers_;
  std::string icon_path_;
  std::string icon_name_;  // the program icon's file name
  std::string volume_folder_;
  std::string pending_target_;  // the file in use that the current entry replaces at restart
  bool pending_scheduled_ = false;
  std::vector<std::string> app_manager_files_;
  std::optional<std::vector<TUninstItem>> earlier_items_;  // see EarlierItems
  uint32_t current_disk_ = 1;
  int current_billboard_ = -1;
  bool aborted_ = false;
  bool finished_ = false;
};

}  // namespace kvb
