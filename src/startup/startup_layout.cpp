#include "startup/startup_layout.h"

namespace kvb {

namespace {
constexpr uint8_t kBold = 1;
constexpr uint8_t kDefaultCharset = 1;
}  // namespace

ScreenPoint CentredOrigin(ScreenSize screen, int width, int height) {
  return {screen.Width / 2 - width / 2, screen.Height / 2 - height / 2};
}

ScreenPoint LoaderOrigin(ScreenSize screen, bool package_names_splash) {
  if (!package_names_splash)
    return CentredOrigin(screen, kLoaderWidth, kLoaderHeight);
  return {screen.Width - kLoaderWidth - kLoaderMarginRight,
          screen.Height - kLoaderHeight - kLoaderMarginBottom};
}

TFontRecord LoaderFont(const TFontRecord& package_font, bool keep_default_font) {
  TFontRecord font;
  if (!keep_default_font) {
    font.FaceName = package_font.FaceName;
    font.Charset = package_font.Charset;
  } else {
    font.Charset = kDefaultCharset;
  }
  font.Color = kLoaderTextColor;
  font.Style = kBold;
  font.Size = kLoaderTextSize;
  return font;
}

}  // namespace kvb
