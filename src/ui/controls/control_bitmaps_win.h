// The program's bitmap resources of the drive and folder lists and the disk request,
// built into the executable from res/ (res/make-bitmaps.py draws them).
#pragma once

#include <windows.h>

#include <string>

#include "ui/base/gdi_object_win.h"

namespace kvb {

// The bitmap resource `name` of the running program; empty when it has none.
UniqueBitmap LoadControlBitmap(const std::string& name);

// Whether the shell is new enough for the "95" drive pictures (Windows 95 / NT 4 and
// later, which is every system the program runs on).
bool NewerShell();

}  // namespace kvb
