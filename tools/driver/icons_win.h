// Recognising the standard icon (stop, exclamation, information, question) that an icon
// control of another process shows. Icon handles are private to a process, so the
// control's pixels on the screen are compared with the driver's own drawing of each
// standard icon.
#pragma once

#include <windows.h>

namespace kvb::driver {

// The first visible icon control (a static control with SS_ICON) among the children of
// `top`, or nullptr.
HWND FindIconControl(HWND top);

// The standard icon drawn at the top-left of the control on the screen: "stop",
// "exclamation", "information" or "question"; nullptr when none of them (for example
// while the control is not painted yet, or is covered).
const char* StandardIconOnScreen(HWND control);

}  // namespace kvb::driver
