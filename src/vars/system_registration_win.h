// System registration services: self-registration of COM servers, type libraries, the
// shared-DLL reference counts, fonts, forced file deletion and the restart of Windows.
// None of them shows a message; failures are returned as described. The error-mode
// settings keep Windows from showing its own dialogs while a library is loaded.
#pragma once

#include <windows.h>

#include <string>

namespace kvb {

// Loads the file and calls its DllRegisterServer; true only when the function exists and
// returns a success code. A crash inside the call counts as failure.
bool RegisterServer(const std::string& file);
// Calls DllUnregisterServer when the file exports it.
void UnregisterServer(const std::string& file);

// Registers the type library with its help folder (that of the library's help file).
bool RegisterTypeLibrary(const std::string& file);
// Unregisters the type library by its identity; false when it cannot be loaded or the
// system has no UnRegisterTypeLib.
bool UnregisterTypeLibrary(const std::string& file);

// One more reference in HKEY_LOCAL_MACHINE\...\SharedDLLs (created as REG_DWORD 1; an
// existing count is kept in its type; an unreadable or negative one counts as 0). False
// only when the key cannot be opened.
bool AddSharedDllReference(const std::string& path);
// One reference less; at 0 the value is deleted. An unreadable count counts as 2. False
// when there was no count (nothing changes then).
bool ReleaseSharedDllReference(const std::string& path);

// Registers the installed font under its display name (the "Fonts" profile section on
// Windows NT, the Fonts registry key elsewhere), adds it to the system's font table
// (retried a few times, never waiting for long) and tells the windows. Returns the
// registered file name.
std::string InstallFont(const std::string& file, const std::string& name);
// Removes the registration and the font from the system's font table.
void RemoveFont(const std::string& file, const std::string& name);

// Deletes a file even when it is read-only. True when no such file exists afterwards
// or it did not exist at all.
bool DeleteFileForce(const std::string& file);

// The call that restarts Windows (ExitWindowsEx); tests replace it.
using ExitWindowsFunction = BOOL(WINAPI*)(UINT flags, DWORD reason);
// Enables the shutdown privilege on Windows NT and restarts Windows. False, without
// restarting, when the privilege cannot be enabled or the restart is refused.
bool RestartWindows(ExitWindowsFunction exit_windows = ExitWindowsEx);

}  // namespace kvb
