// The CE Application Manager's description files: one ".ini" per device file group whose
// CAB files this installation places, and the command line that hands them over.
// Worked out here as data (paths and texts); app_manager_win.h writes and runs them.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "setupdata/records.h"
#include "setupdata/setup_data.h"

namespace kvb {

// `text` with \ / : * ? " < > | , replaced by '_', and also '.' unless `keep_dots` and
// ' ' unless `keep_blanks`.
std::string FileSafe(std::string_view text, bool keep_dots, bool keep_blanks);

// The package's device file groups in order: its own group first (named after the
// software, described by the comments text), then the further groups.
std::vector<TSetupDeviceFileGroup> DeviceFileGroups(const TSetupData& data);

// Whether `file` is one of the group's CAB files placed in the group's folder (names and
// folders compared case-insensitively as written in the package, trailing backslashes
// ignored).
bool IsGroupCab(const TSetupDeviceFileGroup& group, const TSetupFile& file);

// Whether any of `files` that `selected` accepts is one of the group's CAB files.
using FileSelection = std::function<bool(const TSetupFile&)>;
bool GroupInUse(const TSetupDeviceFileGroup& group,
                const std::vector<TSetupInstallerFile>& files,
                const FileSelection& selected);

// One description file to write.
struct AppManagerFile {
  std::string Path;  // expanded group folder + '\' + FileSafe(name) + ".ini"
  std::string Text;  // the whole file, lines ended by CR LF
};

// Everything the description files say besides the groups.
struct AppManagerFacts {
  std::string CompanyName;
  std::string IconPath;  // the installed program icon, empty when there is none
};

// The text of a group's description file. Only the first file of a run (`first`)
// carries the "Uninstall" line; the "IconFile" line only when there is an icon.
std::string AppManagerFileText(const TSetupDeviceFileGroup& group,
                               const AppManagerFacts& facts,
                               bool first);

// The description files of the groups in use, in group order. `expand` expands a
// group's folder through the variables.
std::vector<AppManagerFile> PlanAppManagerFiles(
    const TSetupData& data,
    const FileSelection& selected,
    const std::function<std::string(const std::string&)>& expand,
    const AppManagerFacts& facts);

// The Application Manager's arguments: each path in double quotes, joined by blanks.
std::string AppManagerArguments(const std::vector<std::string>& paths);

}  // namespace kvb
