// Small rules of the installation that depend on nothing but their arguments.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "install/device_steps.h"
#include "setupdata/records.h"

namespace kvb {

// The program icon's file name: the software name with each of . \ / : * ? " < > | ,
// replaced by '_' (blanks kept), then ".ico".
std::string ProgramIconName(std::string_view software_name);

// The billboard picture for a progress percentage among `count` pictures: -1 for none,
// 0 at 0 %, the last from 100 % on; in between the first i with
// i * (100 / count) + 1 <= percent <= (i + 1) * (100 / count), else the last.
int SelectBillboard(int count, int percent);

// True when a component list is empty or one of its "|"-separated names is among the
// selected ones (case-insensitive).
bool ComponentListSelected(std::string_view components, std::string_view selected);

// True when `folder` may not be an installation folder: empty, a drive root ("C:\",
// "\\server\share"), or the Windows or system folder.
bool IsForbiddenInstallFolder(std::string_view folder,
                              std::string_view windows_folder,
                              std::string_view system_folder);

// The device file groups in use, in the given order: those for which a file record that
// `installs` accepts has one of the group's CAB names as its file name and the group's
// folder as its destination folder (both as written in the package, case-insensitive;
// a trailing backslash on either folder makes no difference).
// `expand` turns the group's folder into the expanded folder with a trailing backslash.
std::vector<AppManagerGroup> GroupsInUse(
    const std::vector<TSetupDeviceFileGroup>& groups,
    const std::vector<TSetupInstallerFile>& files,
    const std::function<bool(const TSetupFile&)>& installs,
    const std::function<std::string(const std::string&)>& expand);

// The %HotSyncUser% list: user names separated by ", ".
std::vector<std::string> HotSyncUserNames(std::string_view users);

// Uninstall items of each shape.
TUninstItem PathItem(uint8_t kind, std::string path);
TUninstItem FileItem(uint8_t kind, std::string path, TSetupFile file);
TUninstItem RegistryItem(TSetupRegChange change);

// Whether the file name of `source_name` is one of the "|"-separated CAB names.
bool IsCabName(std::string_view source_name, std::string_view cab_list);

}  // namespace kvb
