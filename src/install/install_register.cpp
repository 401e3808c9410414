// The registration pass of the file step (shared counts, servers, type libraries, fonts,
// Palm files, conduits) and the device steps of the installation.
#include "base/text.h"
#include "install/install_rules.h"
#include "install/kalvenbrooker_install.h"

namespace kvb {
namespace {

// Where Windows NT keeps the registered fonts (the "Fonts" profile section).
constexpr char kFontsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr char kAppManagerFile[] = "CEAPPMGR.EXE";

}  // namespace

void TKalvenbrookerInstall::RegisterFiles() {
  const size_t count = items_.size();
  for (size_t i = 0; i < count && !aborted_; ++i) {
    if (items_[i].Kind == kItemFile)
      RegisterFile(items_[i]);
  }
}

void TKalvenbrookerInstall::RegisterFile(const TUninstItem& item) {
  const TSetupFile& file = item.File;
  const std::string path = item.Path;
  if (file.PalmFile) {
    if (c_.Devices) {
      for (const std::string& user : HotSyncUserNames(c_.Vars.ExpandText("%HotSyncUser%")))
        c_.Devices->InstallForUser(user, path);
    }
    return;
  }
  InstallMachine& machine = c_.Machine;
  const int major = ParseLenientInt(c_.Vars.ExpandText("%OSMajorVersion%")).value_or(0);
  if (file.SharedFile && major >= 4 && !CountedBefore(path)) {
    journal_.KeepValue(RegRoot::kLocalMachine, kSharedDllsKey, path);
    if (!machine.AddSharedDllReference(path))
      ShowMessage(kMsgSharedFileError, MessageIcon::kStop, path);
  }
  if (file.SelfRegister || file.ActiveX) {
    if (machine.RegisterServer(path))
      journal_.Undo([&machine, path] { machine.UnregisterServer(path); });
    else
      ShowMessage(kMsgRegisterServerError, MessageIcon::kStop, path);
  }
  if (file.TypeLibrary) {
    if (machine.RegisterTypeLibrary(path))
      journal_.Undo([&machine, path] { machine.UnregisterTypeLibrary(path); });
    else
      ShowMessage(kMsgTypeLibraryError, MessageIcon::kStop, path);
  }
  if (file.FontFlag) {
    const std::string name = file.FontName;
    journal_.KeepValue(RegRoot::kLocalMachine, kFontsKey, name);
    machine.InstallFont(path, name);
    journal_.Undo([&machine, path, name] { machine.RemoveFont(path, name); });
  }
}

void TKalvenbrookerInstall::RegisterConduits() {
  if (!c_.Devices)
    return;
  Variables& v = c_.Vars;
  for (const THotSyncConduit& record : c_.Data.Conduits) {
    if (aborted_)
      return;
    THotSyncConduit conduit = record;
    for (std::string* text : {&conduit.Creator, &conduit.ConduitFile, &conduit.Directory,
                              &conduit.RemoteDatabase, &conduit.FileName, &conduit.Name,
                              &conduit.Information, &conduit.Module, &conduit.ComClient}) {
      *text = v.ExpandText(*text);
    }
    if (!c_.Machine.FileExists(conduit.ConduitFile))
      continue;
    if (!c_.Devices->RegisterConduit(conduit)) {
      ShowMessage(kMsgConduitError, MessageIcon::kStop, conduit.ConduitFile);
      continue;
    }
    items_.push_back(PathItem(kItemConduit, conduit.Creator));
    DeviceSteps* devices = c_.Devices;
    journal_.Undo([devices, creator = conduit.Creator] { devices->RemoveConduit(creator); });
  }
}

void TKalvenbrookerInstall::WriteAppManagerFiles() {
  if (!c_.Devices)
    return;
  const TSetupProperties& p = c_.Data.Properties;
  std::vector<TSetupDeviceFileGroup> groups;
  TSetupDeviceFileGroup main = p.DeviceGroup;
  main.Name = p.SoftwareName;
  main.Text3 = p.Comments;
  groups.push_back(main);
  groups.insert(groups.end(), c_.Data.DeviceGroups.begin(), c_.Data.DeviceGroups.end());
  const std::vector<AppManagerGroup> in_use = GroupsInUse(
      groups, c_.Data.DeviceFiles,
      [this](const TSetupFile& f) { return SelectedForInstall(f.Components, f.Group); },
      [this](const std::string& folder) {
        return IncludeTrailingBackslash(c_.Vars.ExpandText(folder));
      });
  if (in_use.empty())
    return;
  app_manager_files_ = c_.Devices->WriteAppManagerFiles(in_use, p.CompanyName, icon_path_);
  for (const std::string& path : app_manager_files_) {
    journal_.FileCreated(path);
    items_.push_back(PathItem(kItemPlainFile, path));
  }
}

std::string TKalvenbrookerInstall::AppManagerArguments() {
  const std::string program =
      IncludeTrailingBackslash(c_.Vars.ExpandText("%ActiveSyncDir%")) + kAppManagerFile;
  if (aborted_ || app_manager_files_.empty() || !c_.Machine.FileExists(program))
    return {};
  std::vector<std::string> quoted;
  for (const std::string& path : app_manager_files_)
    quoted.push_back("\"" + path + "\"");
  return JoinText(quoted, " ");
}

void TKalvenbrookerInstall::RunAppManager() {
  const std::string arguments = AppManagerArguments();
  if (arguments.empty() || !c_.Devices)
    return;
  Status(StatusKind::kStatusLine, Message(kMsgStartingDeviceInstall));
  Status(StatusKind::kDetailLine, "");
  Pump();
  c_.Devices->RunAppManager(
      IncludeTrailingBackslash(c_.Vars.ExpandText("%ActiveSyncDir%")) + kAppManagerFile, arguments,
      IncludeTrailingBackslash(c_.Vars.ExpandText("%InstallDir%")));
}

void TKalvenbrookerInstall::RemoveStagedFiles() {
  if (aborted_ || !c_.Devices || !c_.Data.StartupOptions[kDevicesOnly])
    return;
  c_.Devices->RemoveStagedFiles(items_);
}

}  // namespace kvb
