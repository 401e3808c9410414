// The registry step, the installed-programs entry and the uninstall log.
#include <map>
#include <set>
#include <tuple>

#include "base/text.h"
#include "install/install_rules.h"
#include "install/kalvenbrooker_install.h"
#include "setupdata/messages.h"
#include "uninstall/uninstall_log.h"

namespace kvb {
namespace {

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// What identifies an item, so that an earlier installation's item and this one's for the
// same thing are recognised: kind class and path, or root, key and value name.
std::tuple<int, int, std::string, std::string> ItemIdentity(const TUninstItem& item) {
  if (item.Kind == kItemRegistryValue) {
    return {1, item.RegChange.Root, UpperText(RegistryKeyPath(item.RegChange.Key)),
            UpperText(item.RegChange.ValueName)};
  }
  return {0, item.Kind == kItemFolder ? 1 : 0, UpperText(item.Path), {}};
}

}  // namespace

void TKalvenbrookerInstall::ApplyRegistryChanges() {
  if (aborted_)
    return;
  Status(StatusKind::kStatusLine, Message(kMsgCreatingRegistry));
  Pump();
  // One registry object serves the loop: an unknown root byte keeps the root before.
  RegRoot root = RegRoot::kCurrentUser;
  bool failed = false;
  for (TSetupRegChange& change : c_.Data.RegChanges) {
    if (aborted_)
      return;
    if (!SelectedForInstall(change.Components, change.Group))
      continue;
    if (change.Root <= 2)
      root = static_cast<RegRoot>(change.Root);
    change.Key = c_.Vars.ExpandText(change.Key);
    change.ValueName = c_.Vars.ExpandText(change.ValueName);
    change.Data = c_.Vars.ExpandText(change.Data);
    if (!journal_.WriteValue(root, RegistryKeyPath(change.Key), change.ValueName,
                             EncodeRegistryData(change.ValueType, change.Data))) {
      failed = true;
      continue;
    }
    TUninstItem item = RegistryItem(change);
    item.RegChange.Root = static_cast<uint8_t>(root);
    items_.push_back(std::move(item));
  }
  if (failed)
    ShowMessage(kMsgRegistryError, MessageIcon::kStop);
}

void TKalvenbrookerInstall::RegisterUninstall() {
  if (aborted_)
    return;
  Variables& v = c_.Vars;
  const TSetupProperties& p = c_.Data.Properties;
  const std::string key = kUninstallKey + p.CompanyName + " " + p.SoftwareName;
  const std::string install_dir = IncludeTrailingBackslash(v.ExpandText("%InstallDir%"));
  const std::string log_path = install_dir + kUninstallLogName;
  std::vector<std::pair<std::string, std::string>> values = {
      {"DisplayName", v.ExpandText(p.DisplayName)},
      {"UninstallString", "\"" + IncludeTrailingBackslash(v.ExpandText("%WinDir%")) +
                              "kvbuninst.exe\" \"" + log_path + "\""},
      {"DisplayVersion", v.ExpandText(p.DisplayVersion)},
      {"URLInfoAbout", v.ExpandText(p.URLInfoAbout)},
      {"HelpLink", v.ExpandText(p.HelpLink)},
      {"URLUpdateInfo", v.ExpandText(p.URLUpdateInfo)},
      {"Comments", p.Comments},
      {"Contact", v.ExpandText(p.Contact)},
      {"InstallLocation", install_dir},
      {"InstallSource", ExtractFilePath(c_.SetupPath)},
      {"Publisher", p.CompanyName},
  };
  if (!icon_path_.empty())
    values.push_back({"DisplayIcon", icon_path_});
  if (!c_.Maintenance) {
    for (const auto& [name, data] : values) {
      TSetupRegChange value;
      value.Root = static_cast<uint8_t>(RegRoot::kLocalMachine);
      value.Key = key;
      value.ValueName = name;
      value.Data = data;
      items_.push_back(RegistryItem(std::move(value)));
    }
    items_.push_back(PathItem(kItemPlainFile, log_path));
  }
  // The log comes first: the installed-programs entry never names a log that is missing.
  if (!WriteLog(LogItems())) {
    c_.Host.ShowMessage("Setup cannot write the uninstall log \"" + log_path +
                            "\". The installation is incomplete and is undone.",
                        MessageIcon::kStop);
    Abort();
    return;
  }
  WriteUninstallEntry(key, values);
}

void TKalvenbrookerInstall::WriteUninstallEntry(
    const std::string& key,
    const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [name, data] : values) {
    if (!journal_.WriteValue(RegRoot::kLocalMachine, key, name,
                             EncodeRegistryData(kRegChangeString, data))) {
      ShowMessage(kMsgCannotCreateEntry, MessageIcon::kStop);
      return;
    }
  }
}

// The items of the new log: the earlier installation's items first (in a maintenance run
// those of the log read at its start; in an installation over an earlier one of the same
// product those of the log found in the installation folder, as far as they still exist),
// without what this run placed again, then this run's items. So nothing the first run
// placed is orphaned, and nothing that was there before any installation is listed.
std::vector<TUninstItem> TKalvenbrookerInstall::LogItems() {
  const std::vector<TUninstItem>& earlier = EarlierItems();
  std::map<std::tuple<int, int, std::string, std::string>, size_t> placed;
  for (size_t i = 0; i < items_.size(); ++i)
    placed.emplace(ItemIdentity(items_[i]), i);
  // An item placed again takes the earlier item's place, so that the log keeps the order
  // in which things were first created: a folder stays ahead of the folders made in it,
  // which the removal takes away first.
  std::vector<TUninstItem> items;
  std::vector<bool> taken(items_.size(), false);
  for (const TUninstItem& item : earlier) {
    const auto again = placed.find(ItemIdentity(item));
    if (again != placed.end()) {
      if (!taken[again->second]) {
        taken[again->second] = true;
        items.push_back(items_[again->second]);
      }
    } else if (c_.Maintenance || StillThere(item)) {
      items.push_back(item);
    }
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    if (!taken[i])
      items.push_back(items_[i]);
  }
  return items;
}

// The items of the installation this run goes over: in a maintenance run those of the log
// read at its start (as the removal of deselected components leaves them), else those of
// a log of the same product in the installation folder, read once before this run
// replaces it.
const std::vector<TUninstItem>& TKalvenbrookerInstall::EarlierItems() {
  static const std::vector<TUninstItem> kNone;
  if (c_.Maintenance)
    return c_.PreviousItems ? *c_.PreviousItems : kNone;
  if (!earlier_items_)
    earlier_items_ = PreviousLogItems();
  return *earlier_items_;
}

// A shared file the earlier installation already counted: installing the same product
// again must not add a reference that its one removal will never release.
bool TKalvenbrookerInstall::CountedBefore(const std::string& path) {
  for (const TUninstItem& item : EarlierItems()) {
    if (item.Kind == kItemFile && item.File.SharedFile && SameText(item.Path, path))
      return true;
  }
  return false;
}

// The items of the log an earlier installation of the same product left in the
// installation folder; none when there is no such log or it cannot be read.
std::vector<TUninstItem> TKalvenbrookerInstall::PreviousLogItems() {
  const std::string path =
      IncludeTrailingBackslash(c_.Vars.ExpandText("%InstallDir%")) + kUninstallLogName;
  std::unique_ptr<ByteSource> source = c_.Machine.OpenFile(path);
  if (!source)
    return {};
  TUninstallLog previous;
  try {
    previous = ReadUninstallLog(*source);
  } catch (const FormatError&) {
    return {};
  }
  const TSetupProperties& p = c_.Data.Properties;
  if (!SameText(previous.SoftwareName, p.SoftwareName) ||
      !SameText(previous.CompanyName, p.CompanyName)) {
    return {};
  }
  return previous.Items;
}

bool TKalvenbrookerInstall::StillThere(const TUninstItem& item) {
  switch (item.Kind) {
    case kItemFolder:
      return c_.Machine.FolderExists(item.Path);
    case kItemRegistryValue:
      return item.RegChange.Root <= 2 &&
             c_.Machine
                 .ReadValue(static_cast<RegRoot>(item.RegChange.Root),
                            RegistryKeyPath(item.RegChange.Key), item.RegChange.ValueName)
                 .has_value();
    case kItemConduit:
      return true;
    default:
      return c_.Machine.FileExists(item.Path);
  }
}

bool TKalvenbrookerInstall::WriteLog(const std::vector<TUninstItem>& items) {
  const TSetupProperties& p = c_.Data.Properties;
  TUninstallLog log;
  log.SoftwareName = p.SoftwareName;
  log.Comments = p.Comments;
  log.CompanyName = p.CompanyName;
  log.KeepDefaultFont = c_.Data.StartupOptions[kKeepDefaultFont];
  log.Option4 = c_.Data.StartupOptions[kOption4];
  log.Font = p.Font;
  const std::string language = Language();
  for (int i = 0; i < kUninstallerTextCount; ++i)
    log.Messages[i] = GetMessageText(c_.Data, kUninstallerMessageNumbers[i], language);
  log.ConnectionText = GetMessageText(c_.Data, kConnectionMessage, language);
  log.BeforeScript = c_.Data.Scripts[5];
  log.AfterScript = c_.Data.Scripts[6];
  log.SetupPath = c_.SetupPath;
  log.IconPath = icon_path_;
  log.InstalledComponents = c_.Vars.SelectedComponents;
  log.Platforms = c_.Data.Platforms;
  for (int i = 0; i < c_.Vars.List().Count(); ++i)
    log.Variables.push_back(c_.Vars.List().GetLine(i));
  log.Items = items;

  const std::string path =
      IncludeTrailingBackslash(c_.Vars.ExpandText("%InstallDir%")) + kUninstallLogName;
  if (journal_.PrepareFile(path) != MoveAsideResult::kMoved)
    return false;
  journal_.FileCreated(path);
  return c_.Machine.WriteFile(path, WriteUninstallLog(log));
}

}  // namespace kvb
