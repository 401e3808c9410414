// gallery.exe [--themed | --classic] [--pictures FOLDER]: shows the control gallery
// until it is closed. Without an option the controls draw as the desktop is (themed or
// not); --themed takes the visual-styles path where a control has one (which falls back
// to the classic look without a theme), --classic always the classic one. --pictures
// saves pictures of the gallery and of every fixed dialog in FOLDER and ends (exit code
// 1 when one could not be saved).
#include <windows.h>

#include <cstring>

#include "base/system_library_win.h"
#include "gallery/gallery_win.h"
#include "ui/controls/visual_styles_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  kvb::RestrictDllSearchPath();
  if (std::strstr(command_line, "--themed"))
    kvb::VisualStyles::Get().ForceActiveForTesting(true);
  else if (std::strstr(command_line, "--classic"))
    kvb::VisualStyles::Get().ForceActiveForTesting(false);
  kvb::gallery::TfrmGallery gallery;
  if (const char* pictures = std::strstr(command_line, "--pictures ")) {
    gallery.Show();
    return kvb::gallery::SavePictures(gallery, pictures + std::strlen("--pictures ")) ? 0 : 1;
  }
  gallery.OnCloseQuery = [](kvb::TForm&) {
    PostQuitMessage(0);
    return true;
  };
  gallery.CenterOnScreen();
  gallery.Show();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (!kvb::TranslateFormMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return 0;
}
