// Where the start-up windows go and how the loader's text looks: the arithmetic behind
// the loader and splash windows, kept apart from Win32 so that it is tested on the host.
#pragma once

#include "setupdata/records.h"
#include "startup/startup_host.h"

namespace kvb {

inline constexpr int kLoaderWidth = 300;
inline constexpr int kLoaderHeight = 110;
// Distance of the loader from the right and bottom screen edges while a splash shows.
inline constexpr int kLoaderMarginRight = 32;
inline constexpr int kLoaderMarginBottom = 48;
// How long start-up lets the splash stand before it reads on.
inline constexpr unsigned kSplashWaitMs = 500;
inline constexpr uint32_t kLoaderTextColor = 0x00FFFFFF;  // white
inline constexpr uint32_t kLoaderTextSize = 8;            // points

struct ScreenPoint {
  int Left = 0;
  int Top = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// Top-left corner of a window of the given outer size centred on the screen (halves
// rounded down, as integer division does).
ScreenPoint CentredOrigin(ScreenSize screen, int width, int height);

// The loader's corner: bottom right (clear of the splash) when the package names a
// splash bitmap, else centred.
ScreenPoint LoaderOrigin(ScreenSize screen, bool package_names_splash);

// The loader's font: the package font's face and character set, or the system's
// default face (empty) with the default character set when the package keeps the
// default font; always white, bold and 8 points.
TFontRecord LoaderFont(const TFontRecord& package_font, bool keep_default_font);

}  // namespace kvb
