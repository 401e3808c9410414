// The program's own icon as the pictures of role 8 show it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/base/gdi_object_win.h"

namespace kvb {

// The first icon of the running program, else the system's application icon. Shared;
// never destroyed.
HICON ProgramIcon();

// `icon` drawn on a bitmap of its size filled with `background` (a colour value of the
// package's encoding); empty for no icon.
UniqueBitmap IconBitmap(HICON icon, uint32_t background);

}  // namespace kvb
