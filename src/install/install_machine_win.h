// The installation engine's machine on Windows: real files, registry, shell links and the
// system registration services. COM must be initialised on the calling thread.
#pragma once

#include <memory>

#include "install/install_machine.h"

namespace kvb {

std::unique_ptr<InstallMachine> MakeWindowsInstallMachine();

// Where Windows keeps the replacements it performs when it next starts (HKLM).
inline constexpr char kSessionManagerKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
inline constexpr char kPendingRenamesValue[] = "PendingFileRenameOperations";

}  // namespace kvb
