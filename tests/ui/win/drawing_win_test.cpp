// Where drawing is the behaviour: pixels of transparent check boxes, frame captions,
// image buttons, lines, shapes and images. Where a control draws differently with visual
// themes, each path is forced in turn (Wine's prefix may have its theme on or off).
#include <gtest/gtest.h>

#include "ui/base/graphics_win.h"
#include "ui/base/panel_win.h"
#include "ui/controls/ps_graphic_controls_win.h"
#include "ui/controls/ps_text_controls_win.h"
#include "ui/controls/visual_styles_win.h"
#include "ui_test_support_win.h"

namespace kvb {
namespace {

using test::HostForm;
using test::Picture;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

TSetupControl Rec(int left, int top, int width, int height) {
  TSetupControl record;
  record.Left = left;
  record.Top = top;
  record.Width = width;
  record.Height = height;
  return record;
}

// Red left of x = 100, blue right of it.
class TwoColourPanel : public TPanel {
 public:
  using TPanel::TPanel;

 protected:
  void PaintBackground(HDC dc) override {
    RECT client;
    GetClientRect(Handle(), &client);
    RECT left = {0, 0, 100, client.bottom};
    RECT right = {100, 0, client.right, client.bottom};
    UniqueBrush red(CreateSolidBrush(kRed)), blue(CreateSolidBrush(kBlue));
    FillRect(dc, &left, red.Get());
    FillRect(dc, &right, blue.Get());
  }
};

COLORREF Sys(int index) {
  return GetSysColor(index);
}

TEST(DrawingTest, TransparentCheckBoxShowsItsParent) {
  HostForm form;
  TwoColourPanel panel(form, 0, 0, 300, 100);
  panel.Show();
  TPSCheckBox box(panel, Rec(10, 10, 150, 17));
  box.SetText("Go");
  box.SetColor(kGreen);  // what it would fill itself with
  box.Show();
  Picture transparent(box.Handle());
  EXPECT_EQ(transparent.At(60, 8), kRed);
  EXPECT_EQ(transparent.At(140, 8), kBlue) << "the parent's other colour behind the caption";
  EXPECT_EQ(TTransparentPaint::ActivePaints(), 0);

  box.SetTransparentPaint(false);
  Picture opaque(box.Handle());
  EXPECT_EQ(opaque.At(140, 8), kGreen);
}

TEST(DrawingTest, FrameLineStopsAtTheCaption) {
  HostForm form;
  TPSFrame frame(form, Rec(10, 10, 200, 80));
  frame.SetText("Frame");
  frame.Show();
  Picture picture(frame.Handle());
  HDC dc = GetDC(frame.Handle());
  SIZE text;
  {
    SelectedObject font(dc, frame.FontHandle());
    text = TextExtent(dc, "Frame");
  }
  ReleaseDC(frame.Handle(), dc);
  const int line = text.cy / 2;
  EXPECT_EQ(picture.At(text.cx + 30, line), Sys(COLOR_BTNSHADOW)) << "the etched line";
  EXPECT_EQ(picture.At(text.cx + 30, line + 1), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_FALSE(picture.Contains({6, line, 8 + text.cx + 2, line + 2}, Sys(COLOR_BTNSHADOW)))
      << "no line under the caption";
  EXPECT_TRUE(picture.Contains({8, 0, 8 + text.cx, text.cy}, frame.FontColor()));

  frame.SetEnabled(false);
  Picture disabled(frame.Handle());
  const RECT caption = {8, 0, 8 + text.cx + 1, text.cy + 1};
  EXPECT_TRUE(disabled.Contains(caption, Sys(COLOR_BTNHIGHLIGHT))) << "embossed";
  EXPECT_TRUE(disabled.Contains(caption, Sys(COLOR_BTNSHADOW)));
  EXPECT_FALSE(disabled.Contains(caption, frame.FontColor()));
}

// A bitmap of one colour.
UniqueBitmap Solid(int width, int height, COLORREF colour) {
  OffscreenCanvas canvas(nullptr, width, height);
  UniqueBrush brush(CreateSolidBrush(colour));
  RECT all = {0, 0, width, height};
  FillRect(canvas.Dc(), &all, brush.Get());
  return canvas.TakeBitmap();
}

TEST(DrawingTest, ImageButtonDrawsOnlyPicturesOfFivePixelsOrMore) {
  HostForm form;
  struct Case {
    int size;
    bool drawn;
  } cases[] = {{4, false}, {5, true}, {40, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    TPSImageButton button(form, Rec(10, 10, 22, 22));
    button.Show();
    // Red with a blue pixel at the bottom-left corner of the part that fits (18 x 18):
    // the transparent colour of the copy.
    UniqueBitmap bitmap = Solid(c.size, c.size, kRed);
    {
      MemoryDc dc(nullptr);
      SelectedObject selected(dc.Get(), bitmap.Get());
      SetPixel(dc.Get(), 0, std::min(c.size, 18) - 1, kBlue);
    }
    button.SetPicture(std::move(bitmap));
    Picture picture(button.Handle());
    EXPECT_EQ(picture.At(11, 11) == kRed, c.drawn);
    EXPECT_EQ(picture.At(0, 0), Sys(COLOR_BTNHIGHLIGHT)) << "raised edge";
    EXPECT_EQ(picture.At(21, 21), Sys(COLOR_BTNSHADOW));
    // At most the client area less 4 pixels each way: a 2-pixel margin inside the edge.
    EXPECT_FALSE(picture.Contains({1, 1, 21, 2}, kRed));
    EXPECT_EQ(picture.At(2, 11) == kRed, c.size >= 18);
  }
}

TEST(DrawingTest, LineHasTwoColoursWithoutThemes) {
  HostForm form;
  TPSLine line(form, Rec(10, 10, 100, 8));
  line.Show();
  VisualStyles::Get().ForceActiveForTesting(false);
  Picture classic(line.Handle());
  EXPECT_EQ(classic.At(50, 2), Sys(COLOR_BTNFACE));
  EXPECT_EQ(classic.At(50, 3), Sys(COLOR_BTNSHADOW)) << "half the height minus 1";
  EXPECT_EQ(classic.At(0, 4), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(classic.At(99, 5), Sys(COLOR_BTNFACE));

  VisualStyles::Get().ForceActiveForTesting(true);
  const bool themed = VisualStyles::Get().Active();
  Picture modern(line.Handle());
  VisualStyles::Get().ForceActiveForTesting(std::nullopt);
  if (themed) {
    EXPECT_EQ(modern.At(50, 4), Sys(COLOR_BTNFACE)) << "one line with themes";
  }
}

TEST(DrawingTest, MinimumSizes) {
  HostForm form;
  TPSLine line(form, Rec(0, 0, 3, 1));
  TPSImage image(form, Rec(0, 0, 2, 2));
  EXPECT_EQ(line.Width(), 10);
  EXPECT_EQ(line.Height(), 4);
  image.SetBounds(0, 0, 5, 50);
  EXPECT_EQ(image.Width(), 10);
  EXPECT_EQ(image.Height(), 50);
}

TEST(DrawingTest, ShapesAndImages) {
  HostForm form;
  TwoColourPanel panel(form, 0, 0, 300, 100);
  panel.Show();
  TPSShape circle(panel, Rec(110, 10, 80, 40));
  circle.SetShape(TPSShape::stCircle);
  circle.SetBrushColor(0x0000FF00);  // green
  circle.SetPenColor(0x80000000u | COLOR_WINDOWTEXT);
  circle.Show();
  Picture shape(circle.Handle());
  EXPECT_EQ(shape.At(40, 20), kGreen);
  EXPECT_EQ(shape.At(2, 2), kBlue) << "the parent shows beside a circle in a wide box";

  TPSImage image(panel, Rec(10, 10, 40, 40));
  UniqueBitmap picture = Solid(8, 8, kGreen);
  {
    // The bottom-left pixel gives the transparent colour.
    MemoryDc dc(nullptr);
    SelectedObject selected(dc.Get(), picture.Get());
    SetPixel(dc.Get(), 0, 7, RGB(1, 2, 3));
  }
  image.SetPicture(std::move(picture));
  image.SetTransparent(true);
  image.Show();
  Picture transparent(image.Handle());
  EXPECT_EQ(transparent.At(3, 3), kGreen);
  EXPECT_EQ(transparent.At(0, 7), kRed) << "the transparent pixel shows the parent";
  EXPECT_EQ(transparent.At(20, 20), kRed) << "no background fill";
  image.SetTransparent(false);
  image.SetStretch(true);
  Picture stretched(image.Handle());
  EXPECT_EQ(stretched.At(30, 10), kGreen);
  EXPECT_EQ(stretched.At(1, 38), RGB(1, 2, 3));
}

}  // namespace
}  // namespace kvb
