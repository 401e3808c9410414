// The archive reader's questions during the file step: whether and where each entry goes,
// what was placed, the next volume, progress and billboards.
#include "base/text.h"
#include "install/install_rules.h"
#include "install/kalvenbrooker_install.h"
#include "setupdata/archive_format.h"

namespace kvb {
namespace {

// The suffix of a new file written beside a file in use until Windows restarts.
constexpr char kPendingSuffix[] = ".kvbnew";
constexpr char kUninstallerEntryName[] = "KVBUNINST.DAT";
constexpr char kUninstallerGroup[] = "uninstaller";
constexpr char kUninstallerFileName[] = "kvbuninst.exe";

}  // namespace

void TKalvenbrookerInstall::BindReader() {
  zip_.OnProgress = [this](TSetupKVBZip&, int32_t, uint8_t position, bool&) { Progress(position); };
  zip_.OnNeedVolume = [this](TSetupKVBZip&, uint16_t disk, std::string& path, bool& go_on) {
    NeedVolume(disk, path, go_on);
  };
  zip_.OnBeforeFile = [this](TSetupKVBZip&, int32_t entry, std::string& target, bool& install,
                             uint32_t, uint32_t& tag) { BeforeFile(entry, target, install, tag); };
  zip_.OnAfterFile = [this](TSetupKVBZip&, int32_t entry, std::string& target, ArchiveOutput&,
                            uint32_t tag) { AfterFile(entry, target, tag); };
  zip_.OnFileNotWritable = [this](TSetupKVBZip&, int32_t, std::string& target) {
    ShowMessage(kMsgCannotCreateFile, MessageIcon::kExclamation, target);
  };
  zip_.OnArchiveError = [this](TSetupKVBZip&, int32_t code) {
    if (code == 2)
      c_.Host.ShowMessage(kZipCorruptedText, MessageIcon::kStop);
  };
  zip_.OnMessage = [this](TSetupKVBZip&, const std::string& name) {
    Status(StatusKind::kStatusLine,
           name.empty() ? Message(kMsgCopyingFiles)
                        : ReplaceAllText(Message(kMsgCopyingComponent), "<component>", name));
  };
}

void TKalvenbrookerInstall::BeforeFile(int32_t entry,
                                       std::string& target,
                                       bool& install,
                                       uint32_t& tag) {
  install = false;
  pending_target_.clear();
  pending_scheduled_ = false;
  const TSetupInstallerFile* record = FindRecord(entry);
  if (!record || aborted_)
    return;
  const TSetupFile& file = record->File;
  const std::string name = ExtractFileName(file.SourceName);
  const std::string folder = IncludeTrailingBackslash(c_.Vars.ExpandText(file.DestDir));
  target = folder + name;
  if (!SelectedForInstall(file.Components, file.Group))
    return;
  uint32_t kind = kItemFile;
  std::string detail = name;
  const TSetupProperties& p = c_.Data.Properties;
  bool device_file = IsCabName(name, p.DeviceGroup.CabFiles);
  for (const TSetupDeviceFileGroup& group : c_.Data.DeviceGroups)
    device_file = device_file || IsCabName(name, group.CabFiles);
  if (device_file) {
    detail = Message(kMsgDeviceFiles);
    kind = kItemDeviceFile;
  } else if (SameText(name, kUninstallerEntryName) && file.Group == kUninstallerGroup) {
    target = folder + kUninstallerFileName;
    detail = Message(kMsgUninstallerFiles);
    kind = kItemUninstaller;
  } else if (SameText(name, icon_name_)) {
    kind = kItemPlainFile;
  }
  // Asked once per entry: each look-up of a missing file costs a folder scan under Wine.
  const bool exists = c_.Machine.FileExists(target);
  if (exists && c_.Machine.IsProtected(target))
    return;
  Status(StatusKind::kDetailLine, detail);
  if (!DecideTarget(*record, target, exists) || aborted_)
    return;
  PrepareTarget(target, exists);
  install = true;
  tag = kind;
}

// Applies the overwrite rules to an existing target; true to install.
bool TKalvenbrookerInstall::DecideTarget(const TSetupInstallerFile& record,
                                         const std::string& target,
                                         bool exists) {
  OverwriteCase file;
  file.Mode = record.File.OverwriteMode;
  file.TargetExists = exists;
  file.NewVersionHigh = record.VersionHigh;
  file.NewVersionLow = record.VersionLow;
  file.NewDate = record.FileDate;
  if (file.TargetExists) {
    if (const auto version = c_.Machine.FileVersion(target)) {
      file.ExistingVersionHigh = version->High;
      file.ExistingVersionLow = version->Low;
    }
    if (const auto date = c_.Machine.FileDate(target))
      file.ExistingDate = *date;
  }
  const std::string name = ExtractFileName(target);
  auto ask = [&](int question) {
    OverwritePrompt prompt;
    prompt.Message = ReplaceAllText(Message(question), "<file>", name);
    prompt.YesCaption = Message(2);
    prompt.YesToAllCaption = Message(4);
    prompt.NoCaption = Message(3);
    prompt.NoToAllCaption = Message(5);
    prompt.CancelCaption = Message(1);
    prompt.ExistingLabel = Message(67);
    prompt.DestinationLabel = Message(68);
    prompt.ExistingFile = target;
    prompt.NewFileDate = record.FileDate;
    prompt.NewFileSize = record.File.Size;
    return c_.Host.AskFileOverwrite(prompt);
  };
  auto notify = [&](int message, MessageIcon icon) { ShowMessage(message, icon); };
  auto request_close = [&] {
    if (c_.Host.RequestClose())
      Abort();
    return aborted_;
  };
  return ResolveOverwrite(file, answers_, ask, notify, request_close);
}

// Makes room for the entry: the folder exists, an existing file is kept aside for a
// rollback. A file in use is reported and the new one goes beside it, to replace it when
// Windows restarts. A read-only file is left for the reader, which reports it.
void TKalvenbrookerInstall::PrepareTarget(std::string& target, bool exists) {
  journal_.CreateFolders(ExtractFilePath(target));
  switch (journal_.PrepareFile(target, exists)) {
    case MoveAsideResult::kMoved:
      journal_.FileCreated(target);
      break;
    case MoveAsideResult::kReadOnly:
      break;
    case MoveAsideResult::kInUse: {
      ShowMessage(kMsgCannotCreateFile, MessageIcon::kExclamation, target);
      const std::string side = target + kPendingSuffix;
      journal_.PrepareFile(side);
      journal_.FileCreated(side);
      pending_target_ = target;
      target = side;
      break;
    }
  }
}

void TKalvenbrookerInstall::AfterFile(int32_t entry, const std::string& target, uint32_t tag) {
  const TSetupInstallerFile* record = FindRecord(entry);
  if (!record)
    return;
  std::string path = target;
  if (!pending_target_.empty()) {
    path = pending_target_;
    if (!pending_scheduled_ && c_.Machine.ScheduleReplace(target, pending_target_)) {
      journal_.Undo([this, target] { c_.Machine.CancelScheduledReplace(target); });
      c_.Vars.SetVariable("%DoReboot%", "1");
    }
    pending_scheduled_ = true;
  }
  // An entry continued in the next volume is reported again; it is one item.
  if (!items_.empty() && items_.back().Kind == tag && items_.back().Path == path)
    return;
  items_.push_back(FileItem(static_cast<uint8_t>(tag), path, record->File));
  if (SameText(ExtractFileName(path), icon_name_))
    icon_path_ = path;
}

void TKalvenbrookerInstall::NeedVolume(uint16_t disk, std::string& archive_path, bool& go_on) {
  const std::string base = ChangeFileExt(ExtractFileName(c_.SetupPath), "");
  const std::string name = base + "." + VolumeExtension(disk);
  const std::string folder = archive_path.empty() ? volume_folder_ : ExtractFilePath(archive_path);
  archive_path = IncludeTrailingBackslash(folder) + name;
  go_on = true;
  if (c_.Machine.FileExists(archive_path)) {
    current_disk_ = disk;
    return;
  }
  DiskPrompt prompt;
  prompt.Disk = disk;
  prompt.Folder = IncludeTrailingBackslash(folder);
  prompt.VolumeBaseName = base;
  prompt.Title = Message(50);
  prompt.Prompt = ReplaceAllText(Message(51), "<disk>", std::to_string(disk));
  prompt.PathLabel = Message(52);
  prompt.BrowseCaption = Message(57);
  prompt.OkCaption = Message(0);
  prompt.CancelCaption = Message(1);
  prompt.NotFoundText = ReplaceAllText(Message(20), "<disk>", std::to_string(disk));
  prompt.FolderTexts = {Message(46), Message(47), Message(48), Message(49)};
  if (const std::optional<std::string> chosen = c_.Host.AskNextDisk(prompt)) {
    volume_folder_ = IncludeTrailingBackslash(*chosen);
    archive_path = volume_folder_ + name;
    current_disk_ = disk;
    return;
  }
  if (c_.Host.RequestClose())
    Abort();
  go_on = !aborted_;
}

void TKalvenbrookerInstall::Progress(uint8_t position) {
  Status(StatusKind::kPosition, "", c_.Maintenance ? position / 2 : position);
  Pump();
  ShowBillboard(position);
}

void TKalvenbrookerInstall::ShowFirstBillboard() {
  ShowBillboard(0);
}

void TKalvenbrookerInstall::ShowBillboard(int percent) {
  const int index = SelectBillboard(static_cast<int>(c_.Data.Billboards.size()), percent);
  if (index < 0 || index == current_billboard_)
    return;
  current_billboard_ = index;
  const std::string path = IncludeTrailingBackslash(c_.TempSetupDir) + c_.Data.Billboards[index];
  if (c_.Machine.FileExists(path))
    c_.Host.ShowBillboard(path);
}

void TKalvenbrookerInstall::CloseBillboard() {
  c_.Host.CloseBillboard();
}

}  // namespace kvb
