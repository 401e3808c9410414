// The control gallery: one window showing every control kind of the pages in the states
// it can take, so that a person can look at them and tests can capture them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/base/form_win.h"
#include "ui/controls/image_list_win.h"

namespace kvb::gallery {

class TfrmGallery : public TForm {
 public:
  static constexpr char kWindowClass[] = "TfrmGallery";
  TfrmGallery();

 private:
  void AddTextControls();
  void AddChoiceControls();
  void AddListControls();
  void AddFileControls();
  void AddGraphicControls();
  void AddFramesAndViewers();
  // Buttons opening each fixed dialog (gallery_dialogs_win.cpp).
  void AddDialogButtons();

  TImageList pictures_{16, 16};
};

// Saves pictures of the gallery and of every fixed dialog (gallery-window.bmp,
// dialog-*.bmp) in `folder`; false when one could not be saved.
bool SavePictures(TfrmGallery& gallery, const std::string& folder);

}  // namespace kvb::gallery
