// Labels, memo lines and pictures loaded through the resolver.
#include <gtest/gtest.h>

#include <fstream>

#include "ui/base/graphics_win.h"
#include "ui/base/panel_win.h"
#include "ui/controls/control_bitmaps_win.h"
#include "ui/controls/label_win.h"
#include "ui/controls/memo_win.h"
#include "ui/controls/ps_graphic_controls_win.h"
#include "ui_test_support_win.h"

namespace kvb {
namespace {

using test::HostForm;
using test::Picture;

constexpr COLORREF kTeal = RGB(0, 128, 128);

TEST(LabelTest, TransparentCentredAndDisabled) {
  HostForm form;
  TPanel panel(form, 0, 0, 300, 100);
  panel.SetColor(kTeal);
  panel.Show();
  TLabel label(panel, 10, 10, 200, 60, "WWW");
  label.SetColor(RGB(255, 255, 0));
  label.Show();
  Picture opaque(label.Handle());
  EXPECT_EQ(opaque.At(150, 30), RGB(255, 255, 0));
  EXPECT_TRUE(opaque.Contains({0, 0, 40, 14}, label.FontColor())) << "at the top";

  label.SetTransparent(true);
  label.SetCentredVertically(true);
  Picture centred(label.Handle());
  EXPECT_EQ(centred.At(150, 30), kTeal);
  EXPECT_FALSE(centred.Contains({0, 0, 40, 20}, label.FontColor()));
  EXPECT_TRUE(centred.Contains({0, 20, 40, 40}, label.FontColor()));

  label.SetEnabled(false);
  Picture disabled(label.Handle());
  EXPECT_FALSE(disabled.Contains({0, 20, 40, 40}, label.FontColor()));
  EXPECT_TRUE(disabled.Contains({0, 20, 40, 40}, GetSysColor(COLOR_BTNSHADOW)));
}

TEST(LabelTest, AmpersandsAndClicks) {
  HostForm form;
  TLabel label(form, 10, 10, 200, 20, "&Path");
  EXPECT_FALSE(GetWindowLongA(label.Handle(), GWL_STYLE) & SS_NOPREFIX) << "a mnemonic";
  label.SetShowAccelChar(false);
  EXPECT_TRUE(GetWindowLongA(label.Handle(), GWL_STYLE) & SS_NOPREFIX);
  int clicks = 0;
  label.OnClick = [&clicks](TWindow&) { ++clicks; };
  SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(label.Handle()), STN_CLICKED),
               reinterpret_cast<LPARAM>(label.Handle()));
  EXPECT_EQ(clicks, 1);
}

TEST(MemoTest, LinesFilesAndScrollBars) {
  HostForm form;
  test::ScratchFolder folder("memo");
  TMemo memo(form, 10, 10, 200, 100);
  EXPECT_TRUE(memo.Lines().empty());
  memo.AddLine("delta");
  memo.AddLine("Alpha");
  memo.AddLine("charlie");
  memo.Sort();
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"Alpha", "charlie", "delta"}));

  std::ofstream(folder / "unix.txt", std::ios::binary) << "one\ntwo\r\nthree\rfour";
  ASSERT_TRUE(memo.LoadFromFile(folder / "unix.txt"));
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"one", "two", "three", "four"}));
  EXPECT_FALSE(memo.LoadFromFile(folder / "missing.txt"));
  EXPECT_EQ(memo.Lines().size(), 4u) << "unchanged";

  memo.SetReadOnly(true);
  memo.SetScrollBars(ScrollBars::kBoth);
  const LONG style = GetWindowLongA(memo.Handle(), GWL_STYLE);
  EXPECT_TRUE((style & WS_HSCROLL) && (style & WS_VSCROLL) && (style & ES_AUTOHSCROLL));
  EXPECT_TRUE(memo.ReadOnly()) << "kept by the re-created window";
  EXPECT_EQ(memo.Lines().size(), 4u);
  memo.SetScrollBars(ScrollBars::kVertical);
  EXPECT_FALSE(GetWindowLongA(memo.Handle(), GWL_STYLE) & WS_HSCROLL);
}

// Saves the program's "DISKS" picture as a bitmap file.
void SaveBitmap(const std::string& path) {
  SaveBitmapFile(LoadControlBitmap("DISKS").Get(), path);
}

TEST(PictureTest, FileNamesGoThroughTheResolver) {
  HostForm form;
  test::ScratchFolder folder("pictures");
  SaveBitmap(folder / "logo.bmp");
  TSetupControl record;
  record.Width = record.Height = 48;
  TPSImage image(form, record);
  TPSImageButton button(form, record);
  std::vector<std::string> asked;
  const PictureResolver resolver = [&](const std::string& name) {
    asked.push_back(name);
    return folder / name;
  };
  image.OnResolvePicture = resolver;
  button.OnResolvePicture = resolver;
  image.SetFileName("logo.bmp");
  button.SetFileName("logo.bmp");
  EXPECT_EQ(asked, (std::vector<std::string>{"logo.bmp", "logo.bmp"}));
  EXPECT_EQ(BitmapSize(image.Picture()).cx, 48);
  EXPECT_NE(button.Picture(), nullptr);

  DeleteFileA((folder / "logo.bmp").c_str());
  image.Reload();
  button.Reload();
  EXPECT_FALSE(image.HasPicture()) << "a missing file clears the picture";
  EXPECT_EQ(button.Picture(), nullptr);
  image.SetFileName("");
  EXPECT_EQ(asked.size(), 4u) << "no name, nothing to resolve";
}

}  // namespace
}  // namespace kvb
