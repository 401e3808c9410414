// The page controls that draw: TPSImage, TPSImageButton, TPSLine, TPSShape, TPSFrame and
// TPSProgress. Each is created on its parent at its record's bounds (raised to the class's
// minimum size, which also holds when it is resized later). None of them takes the focus.
#pragma once

#include <string>

#include "setupdata/records.h"
#include "ui/base/gdi_object_win.h"
#include "ui/base/window_win.h"
#include "ui/controls/image_win.h"
#include "ui/controls/opaque_frame_win.h"
#include "ui/controls/progress_bar_win.h"
#include "ui/controls/ps_control_win.h"

namespace kvb {

// A picture from a file of the package, at least 10 x 10. Stretched to the client area
// or at (0, 0); transparent: the background is not filled and the picture drawn
// transparently; the border is a sunken edge around the client area (a soft sunken edge
// without visual themes, a thin sunken outer border with them).
class TPSImage : public TImage, public TPSControl {
 public:
  TPSImage(TWindow& parent, TSetupControl record);

  bool Border() const { return border_; }
  void SetBorder(bool border);
  const std::string& FileName() const { return file_name_; }
  // Stores the name and loads the picture from the resolver's path (see Reload).
  void SetFileName(const std::string& file_name);
  // Asks the resolver for the file name's full path (the name itself without a
  // resolver); loads the picture when that file exists, clears it otherwise.
  void Reload();

  PictureResolver OnResolvePicture;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Paint(HDC dc) override;

 private:
  bool border_ = false;
  std::string file_name_;
};

// A small picture button, at least 10 x 10, with a thin raised inner edge. A picture of
// at least 5 x 5 pixels is cut to the client area less 4 pixels each way (the top-left
// part of a larger one), made transparent and drawn centred; smaller pictures are not
// drawn.
class TPSImageButton : public TWindow, public TPSControl {
 public:
  TPSImageButton(TWindow& parent, TSetupControl record);

  const std::string& FileName() const { return file_name_; }
  void SetFileName(const std::string& file_name);
  // As TPSImage::Reload.
  void Reload();
  void SetPicture(UniqueBitmap bitmap);
  HBITMAP Picture() const { return picture_.Get(); }

  PictureResolver OnResolvePicture;
  NotifyEvent OnClick;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  void Paint(HDC dc);
  std::string file_name_;
  UniqueBitmap picture_;
};

// A horizontal line, at least 10 wide and 4 high: the button-shadow colour across the
// width at half the height minus 1 and, without visual themes, the button-highlight
// colour one pixel below.
class TPSLine : public TWindow, public TPSControl {
 public:
  TPSLine(TWindow& parent, TSetupControl record);

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint(HDC dc);
};

// A rectangle, square, rounded rectangle or square, ellipse or circle in a pen and a
// brush colour (white brush, black pen at first; system colours allowed). The parent's
// background shows around the shape.
class TPSShape : public TWindow, public TPSControl {
 public:
  enum ShapeType {
    stRectangle = 0,
    stSquare = 1,
    stRoundRect = 2,
    stRoundSquare = 3,
    stEllipse = 4,
    stCircle = 5,
  };

  TPSShape(TWindow& parent, TSetupControl record);

  ShapeType Shape() const { return shape_; }
  void SetShape(int shape);  // values outside the list are a rectangle
  uint32_t PenColor() const { return pen_color_; }
  void SetPenColor(uint32_t color);
  uint32_t BrushColor() const { return brush_color_; }
  void SetBrushColor(uint32_t color);

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint(HDC dc);
  ShapeType shape_ = stRectangle;
  uint32_t pen_color_ = 0x000000;
  uint32_t brush_color_ = 0xFFFFFF;
};

// Caption "Frame"; the font the builder applies goes to the caption.
class TPSFrame : public TOpaqueFrame, public TPSControl {
 public:
  TPSFrame(TWindow& parent, TSetupControl record);
};

// A smooth progress bar, range 0 to 100, position 0.
class TPSProgress : public TProgressBar, public TPSControl {
 public:
  TPSProgress(TWindow& parent, TSetupControl record);
};

}  // namespace kvb
