#include "ui/controls/common_controls_win.h"

namespace kvb {

const CommonControls& CommonControls::Get() {
  static const CommonControls instance;
  return instance;
}

CommonControls::CommonControls() : library_(SystemLibrary::SideBySide("comctl32.dll")) {
  using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  if (auto init = library_.Function<InitFn>("InitCommonControlsEx")) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_PROGRESS_CLASS};
    init(&classes);
  }
  Create = library_.Function<decltype(Create)>("ImageList_Create");
  Destroy = library_.Function<decltype(Destroy)>("ImageList_Destroy");
  AddMasked = library_.Function<decltype(AddMasked)>("ImageList_AddMasked");
  Draw = library_.Function<decltype(Draw)>("ImageList_Draw");
  GetImageCount = library_.Function<decltype(GetImageCount)>("ImageList_GetImageCount");
  GetIconSize = library_.Function<decltype(GetIconSize)>("ImageList_GetIconSize");
  GetIcon = library_.Function<decltype(GetIcon)>("ImageList_GetIcon");
}

}  // namespace kvb
