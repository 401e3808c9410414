// The CE Application Manager's description files: one ".ini" per device file group whose
// CAB files this installation places. The engine decides which groups are in use; the
// texts and the order of writing are worked out here, app_manager_win.h writes the files
// and starts the Application Manager.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "install/device_steps.h"

namespace kvb {

// `text` with \ / : * ? " < > | , replaced by '_', and also '.' unless `keep_dots` and
// ' ' unless `keep_blanks`.
std::string FileSafe(std::string_view text, bool keep_dots, bool keep_blanks);

// The group's description file: its folder, a backslash, FileSafe(name) with dots and
// blanks kept, ".ini".
std::string AppManagerFilePath(const AppManagerGroup& group);

// The whole text of a group's description file, lines ended by CR LF. Only the first
// file of a run (`first`) carries the "Uninstall" line; the "IconFile" line (the file
// part of `icon_path`) only when there is an icon.
std::string AppManagerFileText(const AppManagerGroup& group,
                               const std::string& company_name,
                               const std::string& icon_path,
                               bool first);

// Creates (or truncates) a file with the text; false when it cannot be written.
using TextFileWriter = std::function<bool(const std::string& path, const std::string& text)>;

// Writes the description file of each group in order through `write`. The "Uninstall"
// line goes into the first file actually written, so that a folder that cannot be
// written does not take it away from the files the Application Manager receives.
// Returns the paths written, in order.
std::vector<std::string> WriteAppManagerFiles(const std::vector<AppManagerGroup>& groups,
                                              const std::string& company_name,
                                              const std::string& icon_path,
                                              const TextFileWriter& write);

}  // namespace kvb
