// Shortcut files (.lnk) through the shell link object, shared by the installation's
// shortcut step and the SHORTCUT script command. COM must be initialised on the thread.
#pragma once

#include <string>

namespace kvb {

// Creates or replaces the shortcut file `link_path`: target, arguments and show command
// always; the working folder, icon and description only when not empty. False when the
// shell link object cannot be created or the file cannot be saved.
bool CreateShortcut(const std::string& link_path,
                    const std::string& description,
                    const std::string& target,
                    const std::string& arguments,
                    const std::string& working_dir,
                    const std::string& icon_file,
                    int icon_index,
                    int show_cmd);

}  // namespace kvb
