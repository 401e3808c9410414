// The Win32 machine behind the script commands.
#pragma once

#include <windows.h>

#include <functional>

#include "script/script_services.h"

namespace kvb {

// The application window that owns message boxes when no window of ours is active, and
// the shell's document openings; may return null.
using ApplicationWindowFn = std::function<HWND()>;

std::unique_ptr<ScriptPrompt> CreateWin32Prompt(ApplicationWindowFn application_window);
std::unique_ptr<ScriptRegistry> CreateWin32Registry();
std::unique_ptr<ScriptSystem> CreateWin32System(ApplicationWindowFn application_window);

// Prompt, registry, system and DLL caller of this machine. The carriers of later
// subsystems (device, HTTP, HotSync, maintenance) are left for the caller to set.
ScriptServices CreateWin32ScriptServices(ApplicationWindowFn application_window);

}  // namespace kvb
