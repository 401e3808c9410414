// The product's entry in the Windows list of installed programs, as the removal finds it:
// HKEY_LOCAL_MACHINE "Software\Microsoft\Windows\CurrentVersion\Uninstall\<company>
// <software>", whose "UninstallString" names the uninstaller and the uninstall log.
#pragma once

#include <string>
#include <string_view>

#include "uninstall/removal_machine.h"

namespace kvb {

inline constexpr char kUninstallRootKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The entry's key below HKEY_LOCAL_MACHINE: the root key, "\", company, a blank, software.
std::string UninstallEntryKey(std::string_view software_name, std::string_view company_name);

// The entry exists: its key opens and has a "DisplayVersion" value.
bool FindUninstallEntry(RemovalMachine& machine,
                        std::string_view software_name,
                        std::string_view company_name);

// The uninstall log named by the entry's "UninstallString": its second parameter (blanks
// separate parameters, double quotes enclose one with blanks and are not part of it).
// Empty when the key or the value is missing.
std::string GetUninstallLogPath(RemovalMachine& machine,
                                std::string_view software_name,
                                std::string_view company_name);

}  // namespace kvb
