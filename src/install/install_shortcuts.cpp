// The shortcut step: program group, shortcut folders and the shortcut files.
#include <algorithm>

#include "base/text.h"
#include "install/install_rules.h"
#include "install/kalvenbrooker_install.h"

namespace kvb {
namespace {

constexpr char kProgramGroupFolder[] = "%ProgramGroupDir%\\";

// "C:\..." or "\\server\...".
bool IsAbsolutePath(const std::string& path) {
  return (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
         path.rfind("\\\\", 0) == 0;
}

}  // namespace

void TKalvenbrookerInstall::CreateShortcuts() {
  if (aborted_)
    return;
  Status(StatusKind::kStatusLine, Message(kMsgCreatingShortcuts));
  Pump();
  if (!CreateProgramGroup() || !CreateShortcutFolders())
    return;
  bool error_shown = false;
  for (const TSetupShortcut& shortcut : c_.Data.Shortcuts) {
    if (aborted_)
      return;
    if (SelectedForInstall(shortcut.Components, shortcut.Group))
      CreateOneShortcut(shortcut, error_shown);
  }
}

// False when the shortcut step ends here (the installation goes on).
bool TKalvenbrookerInstall::CreateProgramGroup() {
  const bool used = std::any_of(
      c_.Data.Shortcuts.begin(), c_.Data.Shortcuts.end(), [this](const TSetupShortcut& s) {
        return s.Folder == kProgramGroupFolder && SelectedForInstall(s.Components, s.Group);
      });
  if (!used)
    return true;
  const std::string group = ExcludeTrailingBackslash(c_.Vars.ExpandText("%ProgramGroupDir%"));
  if (c_.Machine.FolderExists(group))
    return true;
  if (!journal_.CreateFolders(group)) {
    ShowMessage(kMsgCannotCreateGroup, MessageIcon::kStop);
    return false;
  }
  items_.push_back(PathItem(kItemFolder, group));
  return true;
}

// False when the installation is aborted (a folder cannot be created).
bool TKalvenbrookerInstall::CreateShortcutFolders() {
  std::vector<std::string> folders = c_.Data.ShortcutFolders;
  std::sort(folders.begin(), folders.end(),
            [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  for (const std::string& folder : folders) {
    const bool used = std::any_of(c_.Data.Shortcuts.begin(), c_.Data.Shortcuts.end(),
                                  [&](const TSetupShortcut& s) {
                                    return StartsWithText(s.Folder, folder + "\\") &&
                                           SelectedForInstall(s.Components, s.Group);
                                  });
    if (!used)
      continue;
    const std::string expanded = ExcludeTrailingBackslash(c_.Vars.ExpandText(folder));
    if (c_.Machine.FolderExists(expanded))
      continue;
    if (!journal_.CreateFolders(expanded)) {
      ShowMessage(kMsgCannotCreateDirs, MessageIcon::kStop);
      c_.Host.EndApplication();
      Abort();
      return false;
    }
    items_.push_back(PathItem(kItemFolder, expanded));
  }
  return true;
}

// A target that is neither an existing folder nor an absolute path names a file of the
// package: it lies in the destination folder of the first selected file record of that
// name, else in the installation folder.
std::string TKalvenbrookerInstall::ShortcutTarget(const TSetupShortcut& shortcut) {
  const std::string target = c_.Vars.ExpandText(shortcut.Target);
  if (IsAbsolutePath(target) || c_.Machine.FolderExists(ExcludeTrailingBackslash(target)))
    return target;
  std::string folder = "%InstallDir%\\";
  for (const TSetupInstallerFile& file : c_.Data.DeviceFiles) {
    if (SameText(file.File.SourceName, shortcut.Target) &&
        SelectedForInstall(file.File.Components, file.File.Group)) {
      folder = file.File.DestDir;
      break;
    }
  }
  return IncludeTrailingBackslash(c_.Vars.ExpandText(folder)) + target;
}

void TKalvenbrookerInstall::CreateOneShortcut(const TSetupShortcut& shortcut, bool& error_shown) {
  Variables& v = c_.Vars;
  ShortcutSpec link;
  link.LinkPath = IncludeTrailingBackslash(v.ExpandText(shortcut.Folder)) +
                  v.ExpandText(shortcut.Name) + ".lnk";
  if (SameText(shortcut.Target, "UNINSTALLER")) {
    link.Target = IncludeTrailingBackslash(v.ExpandText("%WinDir%")) + "kvbuninst.exe";
    link.Arguments = "\"" + IncludeTrailingBackslash(v.ExpandText("%InstallDir%")) + "uninst.dat\"";
  } else {
    link.Target = ShortcutTarget(shortcut);
    link.Arguments = v.ExpandText(shortcut.Arguments);
  }
  link.Description = v.ExpandText(shortcut.Description);
  link.WorkingDir = ExtractFilePath(link.Target);
  link.IconFile = v.ExpandText(shortcut.IconFile);
  link.IconIndex = static_cast<int>(shortcut.IconIndex);
  link.ShowCmd = static_cast<int>(shortcut.ShowCmd);

  journal_.CreateFolders(ExtractFilePath(link.LinkPath));
  const bool room = journal_.PrepareFile(link.LinkPath) == MoveAsideResult::kMoved;
  if (room)
    journal_.FileCreated(link.LinkPath);
  if (!room || !c_.Machine.CreateShortcut(link)) {
    if (!error_shown)
      ShowMessage(kMsgShortcutError, MessageIcon::kStop);
    error_shown = true;
    return;
  }
  TUninstItem item = PathItem(kItemFile, link.LinkPath);
  item.File.SourceName = link.LinkPath;
  item.File.DestDir = shortcut.Folder;
  item.File.ExtraText3 = shortcut.ExtraText2;
  item.File.Components = shortcut.Components;
  item.File.Group = shortcut.Group;
  items_.push_back(std::move(item));
}

}  // namespace kvb
