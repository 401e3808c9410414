// The common-controls library (progress bars, image lists), loaded at run time from the
// system folder once per process and kept loaded: the program never imports it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "base/system_library_win.h"

namespace kvb {

class CommonControls {
 public:
  // The process's instance: loads the library and registers the progress bar class
  // (InitCommonControlsEx) on first use.
  static const CommonControls& Get();

  bool Loaded() const { return library_.Loaded(); }

  // The image list functions; null when the library could not be loaded.
  decltype(&ImageList_Create) Create = nullptr;
  decltype(&ImageList_Destroy) Destroy = nullptr;
  decltype(&ImageList_AddMasked) AddMasked = nullptr;
  decltype(&ImageList_Draw) Draw = nullptr;
  decltype(&ImageList_GetImageCount) GetImageCount = nullptr;
  decltype(&ImageList_GetIconSize) GetIconSize = nullptr;
  decltype(&ImageList_GetIcon) GetIcon = nullptr;

 private:
  CommonControls();
  SystemLibrary library_;
};

}  // namespace kvb
