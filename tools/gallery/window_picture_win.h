// Saves what a window shows, frame included, as a 24-bit bitmap file. Read from the
// window itself, so windows that overlap it on the screen do not matter.
#pragma once

#include <windows.h>

#include <string>

namespace kvb::gallery {

// False when the picture could not be taken or written.
bool SaveWindowPicture(HWND window, const std::string& path);

}  // namespace kvb::gallery
