// The control gallery: one window showing every control kind of the pages in the states
// it can take, so that a person can look at them and tests can capture them.
#pragma once

#include <memory>
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

  TImageList pictures_{16, 16};
};

}  // namespace kvb::gallery
