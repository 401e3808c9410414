#include "install/kalvenbrooker_install.h"

#include <algorithm>

#include "base/text.h"
#include "install/install_rules.h"
#include "script/condition.h"
#include "setupdata/archive_format.h"
#include "setupdata/archive_stream.h"
#include "setupdata/messages.h"

namespace kvb {

TKalvenbrookerInstall::TKalvenbrookerInstall(InstallContext context)
    : c_(std::move(context)),
      journal_(c_.Machine, IncludeTrailingBackslash(c_.TempSetupDir) + "backup"),
      icon_name_(ProgramIconName(c_.Data.Properties.SoftwareName)),
      volume_folder_(ExtractFilePath(c_.SetupPath)) {
  zip_.SetFiles(c_.Machine.CreateArchiveFiles());
  BindReader();
  // The first record of an entry index wins, as a search in package order would find.
  for (size_t i = 0; i < c_.Data.DeviceFiles.size(); ++i)
    records_.emplace(c_.Data.DeviceFiles[i].EntryIndex, i);
}

TKalvenbrookerInstall::~TKalvenbrookerInstall() {
  Finish();
}

void TKalvenbrookerInstall::Abort() {
  aborted_ = true;
  zip_.Cancel();
}

void TKalvenbrookerInstall::Finish() {
  if (finished_)
    return;
  finished_ = true;
  if (aborted_)
    journal_.Rollback();
  else
    journal_.Commit();
}

// The stored value of %Language%, which picks the message table.
std::string TKalvenbrookerInstall::Language() {
  const int index = c_.Vars.List().IndexOf("%Language%");
  return index >= 0 ? c_.Vars.List().GetItem(index).second : std::string();
}

std::string TKalvenbrookerInstall::Message(int number) {
  return c_.Vars.ExpandText(GetMessageText(c_.Data, number, Language()));
}

void TKalvenbrookerInstall::ShowMessage(int number, MessageIcon icon, const std::string& file) {
  std::string text = Message(number);
  if (!file.empty())
    text = ReplaceAllText(text, "<file>", file);
  c_.Host.ShowMessage(text, icon);
}

void TKalvenbrookerInstall::Status(StatusKind kind, const std::string& text, int value) {
  c_.Host.Status(kind, text, value);
}

void TKalvenbrookerInstall::Pump() {
  c_.Host.ProcessMessages();
}

bool TKalvenbrookerInstall::SelectedForInstall(const std::string& components,
                                               const std::string& group) {
  // A maintenance run places only what the newly selected components add; what belongs
  // to no component was placed by the earlier installation.
  if (c_.Maintenance && components.empty())
    return false;
  const std::string& selection = c_.Maintenance ? c_.NewComponents : c_.Vars.SelectedComponents;
  return ComponentListSelected(components, selection) &&
         EvaluateCondition(c_.Vars, group, !c_.Data.Components.empty());
}

void TKalvenbrookerInstall::InstallFiles() {
  if (aborted_)
    return;
  Status(StatusKind::kStatusLine, Message(kMsgCopyingFiles));
  Pump();
  if (!CreateInstallFolders())
    return;
  EarlierItems();
  if (c_.ArchiveOffset > 0)
    ExtractArchives();
  else
    ExtractVolumes();
  if (aborted_)
    return;
  if (!c_.Maintenance)
    WriteAppManagerFiles();
  Status(StatusKind::kStatusLine, Message(kMsgRegisteringFiles));
  Status(StatusKind::kDetailLine, "");
  Pump();
  RegisterFiles();
  RegisterConduits();
}

bool TKalvenbrookerInstall::CheckInstallFolder(const std::string& install_dir) {
  if (!IsForbiddenInstallFolder(install_dir, c_.Vars.ExpandText("%WinDir%"),
                                c_.Vars.ExpandText("%SysDir%"))) {
    return true;
  }
  c_.Host.ShowMessage("Setup cannot install into \"" + install_dir +
                          "\": a drive root, the Windows folder or the system folder cannot "
                          "be an installation folder.",
                      MessageIcon::kStop);
  Abort();
  return false;
}

bool TKalvenbrookerInstall::CreateInstallFolders() {
  const std::string install_dir = ExcludeTrailingBackslash(c_.Vars.ExpandText("%InstallDir%"));
  if (!CheckInstallFolder(install_dir))
    return false;
  auto fail = [this] {
    ShowMessage(kMsgCannotCreateDirs, MessageIcon::kStop);
    c_.Host.EndApplication();
    Abort();
    return false;
  };
  if (!journal_.CreateFolders(install_dir))
    return fail();
  if (!c_.Maintenance)
    items_.push_back(PathItem(kItemFolder, install_dir));

  // An entry may end in a backslash: "%MyDir%\\" marks %MyDir% as a folder variable and
  // names the folder %MyDir% itself.
  std::vector<std::string> folders;
  for (const std::string& entry : c_.Data.FileFolders)
    folders.push_back(ExcludeTrailingBackslash(entry));
  std::sort(folders.begin(), folders.end(),
            [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  for (const std::string& folder : folders) {
    if (folder.empty())
      continue;
    const bool used = std::any_of(c_.Data.DeviceFiles.begin(), c_.Data.DeviceFiles.end(),
                                  [&](const TSetupInstallerFile& f) {
                                    return StartsWithText(f.File.DestDir, folder + "\\") &&
                                           SelectedForInstall(f.File.Components, f.File.Group);
                                  });
    if (!used)
      continue;
    // Only a folder this run creates is logged: one that was there before (the Windows
    // folder, a folder of an earlier installation, which that one's log lists) is not.
    const std::string expanded = ExcludeTrailingBackslash(c_.Vars.ExpandText(folder));
    if (expanded.empty() || c_.Machine.FolderExists(expanded))
      continue;
    if (!journal_.CreateFolders(expanded))
      return fail();
    items_.push_back(PathItem(kItemFolder, expanded));
  }
  return true;
}

void TKalvenbrookerInstall::ExtractArchives() {
  std::vector<const TInstallerComponent*> blocks;
  for (const TInstallerComponent& component : c_.Data.Components) {
    if (component.ArchiveSpan > 0)
      blocks.push_back(&component);
  }
  const double scale = c_.Data.MainArchiveScale;
  if (c_.Data.MainArchiveSpan > 0) {
    const int32_t max = blocks.empty() ? 100 : static_cast<int32_t>(blocks[0]->ProgressBase);
    if (!ExtractBlock(static_cast<uint32_t>(c_.ArchiveOffset), 0,
                      static_cast<int32_t>(c_.Data.MainArchiveSpan), scale, max)) {
      return;
    }
  }
  for (size_t i = 0; i < blocks.size(); ++i) {
    const int32_t max =
        i + 1 < blocks.size() ? static_cast<int32_t>(blocks[i + 1]->ProgressBase) : 100;
    if (!ExtractBlock(blocks[i]->ArchiveOffset, static_cast<int32_t>(blocks[i]->ProgressBase),
                      static_cast<int32_t>(blocks[i]->ArchiveSpan), scale, max)) {
      return;
    }
  }
}

// Extracts one block of the setup file. False when the installation cannot go on: the
// user cancelled, or the archive is damaged or a file could not be written (shown here).
bool TKalvenbrookerInstall::ExtractBlock(uint64_t offset,
                                         int32_t base,
                                         int32_t span,
                                         double scale,
                                         int32_t max) {
  if (aborted_ || !c_.SetupFile)
    return false;
  zip_.ProgressBase = base;
  zip_.ProgressSpan = span;
  zip_.ProgressScale = scale;
  zip_.ProgressMax = max;
  const std::string dest = IncludeTrailingBackslash(c_.Vars.ExpandText("%InstallDir%"));
  bool ok = false;
  try {
    ArchiveStream stream(*c_.SetupFile, offset);
    ok = zip_.Extract(stream, dest);
  } catch (const ArchiveError& error) {
    c_.Host.ShowMessage(error.what(), MessageIcon::kStop);
  }
  if (!ok && !aborted_ && zip_.ErrorCode == 1)
    ShowMessage(kMsgCannotCreateFile, MessageIcon::kStop, zip_.CurrentFileName);
  // A damaged archive or a file that could not be written leaves the installation
  // incomplete: it is aborted and undone like a cancelled one.
  if (!ok)
    Abort();
  return ok;
}

void TKalvenbrookerInstall::ExtractVolumes() {
  zip_.ProgressBase = 0;
  zip_.ProgressMax = 100;
  zip_.ProgressSpan = 0;
  zip_.ProgressScale = 0;
  const std::string dest = IncludeTrailingBackslash(c_.Vars.ExpandText("%InstallDir%"));
  bool ok = false;
  try {
    ok = zip_.ExtractFromFile(ChangeFileExt(c_.SetupPath, ".001"), dest);
  } catch (const ArchiveError& error) {
    c_.Host.ShowMessage(error.what(), MessageIcon::kStop);
  }
  if (!ok && !aborted_ && zip_.ErrorCode == 1)
    ShowMessage(kMsgCannotCreateFile, MessageIcon::kStop, zip_.CurrentFileName);
  if (!ok)
    Abort();
}

const TSetupInstallerFile* TKalvenbrookerInstall::FindRecord(int32_t entry) const {
  const auto found = records_.find(entry);
  return found == records_.end() ? nullptr : &c_.Data.DeviceFiles[found->second];
}

}  // namespace kvb
