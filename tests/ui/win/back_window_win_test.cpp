#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/back/back_window_win.h"
#include "ui/base/graphics_win.h"
#include "bitmap_files_win.h"
#include "ui_test_support_win.h"

namespace kvb {
namespace {

using test::Picture;
using test::Pump;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kPlain = RGB(0x40, 0x60, 0x80);

TSetupProperties Properties(uint8_t back_flag, uint32_t color1, uint32_t color2) {
  TSetupProperties p;
  p.Title = "%SoftwareName% Setup";
  p.BackFlag = back_flag;
  p.BackColor1 = color1;
  p.BackColor2 = color2;
  return p;
}

TSetupBackItem TextItem(uint8_t corner, std::string caption, TFontRecord font, bool shadow) {
  TSetupBackItem item;
  item.Flag1 = corner;
  item.Caption = std::move(caption);
  item.Font = std::move(font);
  item.TextValue = kBlack;
  item.TextFlag = shadow ? 1 : 0;
  return item;
}

TSetupBackItem PictureItem(uint8_t corner, std::string file, uint8_t slide = 0) {
  TSetupBackItem item;
  item.Kind = 1;
  item.Flag1 = corner;
  item.Flag2 = slide;
  item.PictureFile = std::move(file);
  return item;
}

const TFontRecord kTitleFont = {"Arial", 22, 0x00FFFFFF, 1 | 2, 0};

// The variables of a run whose temporary folder is `folder`.
struct RunVariables {
  explicit RunVariables(const test::ScratchFolder& folder) {
    vars.SoftwareName = "Sample Suite";
    vars.TempSetupDir = folder.Path();
  }
  Variables vars;
};

void PumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 1000 && !done(); ++i) {
    Pump();
    Sleep(5);
  }
  Pump();
}

// The smallest rectangle holding every pixel of `color` inside `area`; none if absent.
std::optional<RECT> BoundsOf(const Picture& picture, COLORREF color, const RECT& area) {
  std::optional<RECT> bounds;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (picture.At(x, y) != color)
        continue;
      if (!bounds)
        bounds = RECT{x, y, x + 1, y + 1};
      bounds->left = std::min(bounds->left, static_cast<LONG>(x));
      bounds->top = std::min(bounds->top, static_cast<LONG>(y));
      bounds->right = std::max(bounds->right, static_cast<LONG>(x + 1));
      bounds->bottom = std::max(bounds->bottom, static_cast<LONG>(y + 1));
    }
  }
  return bounds;
}

RECT Whole(const Picture& picture) {
  return {0, 0, picture.Width(), picture.Height()};
}

void ExpectRect(const std::optional<RECT>& actual, RECT expected) {
  ASSERT_TRUE(actual.has_value());
  EXPECT_EQ(actual->left, expected.left);
  EXPECT_EQ(actual->top, expected.top);
  EXPECT_EQ(actual->right, expected.right);
  EXPECT_EQ(actual->bottom, expected.bottom);
}

TEST(BackWindowTest, BlueToBlackGradientWithTheTitleItem) {
  test::ScratchFolder folder("back-gradient");
  RunVariables run(folder);
  TSetupProperties p = Properties(kBackFullScreen, 16711680, 0);
  p.BackGradient = 1;
  std::vector<TSetupBackItem> items = {TextItem(kTopLeft, "%SoftwareName% Setup", kTitleFont, true)};
  TfrmBackWindow back(p, items, run.vars);
  PumpUntil([&] { return back.ItemsAnimated(); });
  EXPECT_EQ(back.Text(), "Sample Suite Setup");
  EXPECT_EQ(items[0].Reserved, 1);

  const Picture picture(back.Handle());
  const int h = picture.Height();
  ASSERT_EQ(picture.Width(), GetSystemMetrics(SM_CXSCREEN));
  ASSERT_EQ(h, GetSystemMetrics(SM_CYSCREEN));
  // Band i runs from h × i / 63 to h × (i + 1) / 63, rounded; its colour is blue
  // 255 − 255 × i / 63. The 64th band starts at the bottom edge.
  for (int i = 0; i < 63; ++i) {
    SCOPED_TRACE(i);
    const int from = (h * i + 31) / 63;
    const int to = (h * (i + 1) + 31) / 63;
    const COLORREF expected = RGB(0, 0, 255 - 255 * i / 63);
    EXPECT_EQ(picture.At(picture.Width() - 1, from), expected);
    EXPECT_EQ(picture.At(picture.Width() / 2, to - 1), expected);
  }

  // The text stands at (8, 8), its shadow half the width of "." further right and down.
  const UniqueFont font = CreateRecordFont(kTitleFont);
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font.Get());
  const int dot = TextExtent(screen, ".").cx;
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  const int offset = (dot + 1) / 2;
  ASSERT_GT(offset, 0);
  const RECT corner = {0, 0, picture.Width() / 2, 120};
  const std::optional<RECT> text = BoundsOf(picture, kWhite, corner);
  const std::optional<RECT> shadow = BoundsOf(picture, kBlack, corner);
  ASSERT_TRUE(text && shadow);
  EXPECT_GE(text->left, 8);
  EXPECT_LE(text->left, 13);
  EXPECT_GE(text->top, 8);
  EXPECT_LE(text->top, 20);
  EXPECT_EQ(shadow->right - text->right, offset);
  EXPECT_EQ(shadow->bottom - text->bottom, offset);
}

TEST(BackWindowTest, SizeBySetting) {
  test::ScratchFolder folder("back-size");
  RunVariables run(folder);
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  std::vector<TSetupBackItem> none;
  {
    TfrmBackWindow back(Properties(kBackFullScreen, kPlain, kPlain), none, run.vars);
    RECT r;
    GetWindowRect(back.Handle(), &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(back.ClientSize().cx, sw);
    EXPECT_EQ(back.ClientSize().cy, sh);
    EXPECT_FALSE(GetWindowLongA(back.Handle(), GWL_STYLE) & WS_CAPTION);
  }
  {
    TfrmBackWindow back(Properties(kBackCentred, kPlain, kPlain), none, run.vars);
    RECT r;
    GetWindowRect(back.Handle(), &r);
    EXPECT_EQ(r.right - r.left, sw - sw / 8);
    EXPECT_EQ(r.bottom - r.top, sh - sh / 8);
    EXPECT_EQ(r.left, (sw - (sw - sw / 8)) / 2);
    EXPECT_EQ(r.top, (sh - (sh - sh / 8)) / 2);
    EXPECT_FALSE(IsZoomed(back.Handle()));
  }
  {
    TfrmBackWindow back(Properties(kBackMaximised, kPlain, kPlain), none, run.vars);
    EXPECT_TRUE(IsZoomed(back.Handle()));
  }
}

TEST(BackWindowTest, PicturesInTheirCorners) {
  test::ScratchFolder folder("back-corners");
  RunVariables run(folder);
  test::WriteSolidBitmapFile(folder / "red.bmp", 20, 10, kRed);
  test::WriteSolidBitmapFile(folder / "green.bmp", 30, 12, kGreen);
  test::WriteSolidBitmapFile(folder / "blue.bmp", 16, 16, kBlue);
  // Magenta around a yellow square: the magenta is the transparent colour.
  test::WriteBitmapFile(folder / "keyed.bmp", 24, 24, [](int x, int y) {
    return x >= 8 && x < 16 && y >= 8 && y < 16 ? kYellow : kMagenta;
  });
  std::vector<TSetupBackItem> items = {
      PictureItem(kTopLeft, "missing.bmp"),  // skipped: takes no place
      PictureItem(kTopLeft, "red.bmp"),
      PictureItem(kTopRight, "keyed.bmp"),
      PictureItem(kBottomRight, "green.bmp"),
      PictureItem(kBottomLeft, "blue.bmp"),
  };
  items[2].PictureFlag = 1;
  items[2].PictureValue = 0x00FF00FF;
  TfrmBackWindow back(Properties(kBackCentred, 0x00806040, 0x00806040), items, run.vars);
  PumpUntil([&] { return back.ItemsAnimated(); });

  const Picture picture(back.Handle());
  const int w = picture.Width();
  const int h = picture.Height();
  EXPECT_EQ(picture.At(w / 2, h / 2), kPlain);
  ExpectRect(BoundsOf(picture, kRed, Whole(picture)), {8, 8, 28, 18});
  // Right-hand pictures: x = width − picture width − 12, drawn 4 pixels further right.
  const int keyed_left = w - 24 - 12 + 4;
  ExpectRect(BoundsOf(picture, kYellow, Whole(picture)),
             {keyed_left + 8, 8 + 8, keyed_left + 16, 8 + 16});
  EXPECT_FALSE(BoundsOf(picture, kMagenta, Whole(picture)).has_value());
  EXPECT_EQ(picture.At(keyed_left, 8), kPlain);
  ExpectRect(BoundsOf(picture, kGreen, Whole(picture)),
             {w - 30 - 12 + 4, h - 4 - 12 - 4, w - 12 + 4, h - 4 - 4});
  ExpectRect(BoundsOf(picture, kBlue, Whole(picture)), {8, h - 4 - 16 - 4, 8 + 16, h - 8});
  EXPECT_EQ(items[0].Reserved, 0);
  EXPECT_EQ(items[1].Reserved, 1);
}

// The runs of `color` in row `y` of what the window shows now (without repainting it):
// the first and one past the last x of each.
std::vector<std::pair<int, int>> RunsInRow(HWND window, int y, COLORREF color) {
  RECT client;
  GetClientRect(window, &client);
  const int width = client.right;
  HDC dc = GetDC(window);
  OffscreenCanvas row(dc, width, 1);
  BitBlt(row.Dc(), 0, 0, width, 1, dc, 0, y, SRCCOPY);
  ReleaseDC(window, dc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<uint32_t> pixels(static_cast<size_t>(width));
  GetDIBits(row.Dc(), row.Bitmap(), 0, 1, pixels.data(), &info, DIB_RGB_COLORS);
  const uint32_t wanted = GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color);
  std::vector<std::pair<int, int>> runs;
  for (int x = 0; x < width; ++x) {
    if ((pixels[static_cast<size_t>(x)] & 0xFFFFFF) != wanted)
      continue;
    if (!runs.empty() && runs.back().second == x)
      ++runs.back().second;
    else
      runs.push_back({x, x + 1});
  }
  return runs;
}

// What a timer saw of the red item's row while the items slid in.
struct SlideWatch {
  HWND Window = nullptr;
  std::vector<std::vector<std::pair<int, int>>> Frames;
  static inline SlideWatch* current = nullptr;
  static void CALLBACK Look(HWND, UINT, UINT_PTR, DWORD) {
    current->Frames.push_back(RunsInRow(current->Window, 12, kRed));
  }
};

TEST(BackWindowTest, ItemsSlideInWithoutTrailsAndEndInPlace) {
  test::ScratchFolder folder("back-slide");
  RunVariables run(folder);
  test::WriteSolidBitmapFile(folder / "red.bmp", 20, 10, kRed);
  test::WriteSolidBitmapFile(folder / "green.bmp", 30, 12, kGreen);
  test::WriteSolidBitmapFile(folder / "blue.bmp", 16, 16, kBlue);
  std::vector<TSetupBackItem> items = {
      PictureItem(kTopLeft, "red.bmp", kSlideFromRight),
      PictureItem(kBottomRight, "green.bmp", kSlideFromBottomRight),
      PictureItem(kTopRight, "blue.bmp", kSlideFromBottom),
  };
  TfrmBackWindow back(Properties(kBackFullScreen, 0x00806040, 0x00806040), items, run.vars);
  SlideWatch watch;
  watch.Window = back.Handle();
  SlideWatch::current = &watch;
  const UINT_PTR timer = SetTimer(nullptr, 0, 1, SlideWatch::Look);
  PumpUntil([&] { return back.ItemsAnimated(); });
  KillTimer(nullptr, timer);
  SlideWatch::current = nullptr;
  for (const TSetupBackItem& item : items)
    EXPECT_EQ(item.Reserved, 1);

  // The red item crossed the screen from the right: one run at a time, never wider than
  // the item (the places it left were restored), moving left.
  int moving = 0;
  int last_left = INT_MAX;
  for (const auto& frame : watch.Frames) {
    ASSERT_LE(frame.size(), 1u);
    if (frame.empty())
      continue;
    EXPECT_LE(frame[0].second - frame[0].first, 20);
    EXPECT_LE(frame[0].first, last_left);
    last_left = frame[0].first;
    moving += frame[0].first > 8 ? 1 : 0;
  }
  EXPECT_GE(moving, 2) << "the item was not seen on its way";

  const Picture picture(back.Handle());
  const int w = picture.Width();
  const int h = picture.Height();
  ExpectRect(BoundsOf(picture, kRed, Whole(picture)), {8, 8, 28, 18});
  ExpectRect(BoundsOf(picture, kGreen, Whole(picture)), {w - 38, h - 20, w - 8, h - 8});
  ExpectRect(BoundsOf(picture, kBlue, Whole(picture)), {w - 24, 8, w - 8, 24});
}

TEST(BackWindowTest, CaptionsFollowTheirVariables) {
  test::ScratchFolder folder("back-captions");
  RunVariables run(folder);
  run.vars.SetVariable("%Greeting%", "Hi");
  std::vector<TSetupBackItem> items = {
      TextItem(kTopLeft, "%Greeting%", {"Arial", 14, 0x00FFFFFF, 0, 0}, false)};
  TfrmBackWindow back(Properties(kBackFullScreen, 0x00806040, 0x00806040), items, run.vars);
  PumpUntil([&] { return back.ItemsAnimated(); });
  const RECT corner = {0, 0, 600, 80};
  const std::optional<RECT> before = BoundsOf(Picture(back.Handle()), kWhite, corner);
  run.vars.SetVariable("%Greeting%", "Hello from a much longer greeting");
  SendMessageA(back.Handle(), WM_ACTIVATEAPP, TRUE, 0);
  const std::optional<RECT> after = BoundsOf(Picture(back.Handle()), kWhite, corner);
  ASSERT_TRUE(before && after);
  EXPECT_GT(after->right - after->left, 3 * (before->right - before->left));
}

// A wizard that answers the background window's questions as a test sets it up.
class FakeHost : public BackWindowHost {
 public:
  explicit FakeHost(Variables& vars) : vars_(vars) {}

  WizardCloseState State = {.Exists = true, .Visible = true};
  bool AnswerYes = false;
  std::string ScriptCanClose = "1";
  std::vector<int> Asked;
  std::vector<std::string> ScriptSawFinishing;
  int Agreed = 0;
  bool Finishing = false;
  HWND Secondary = nullptr;
  HWND Copying = nullptr;

  WizardCloseState CloseState() override { return State; }
  bool AskYesNo(int number) override {
    Asked.push_back(number);
    return AnswerYes;
  }
  void StopExtraction() override {}
  void SetFinishing(bool finishing) override { Finishing = finishing; }
  void RunClosingScript() override {
    ScriptSawFinishing.push_back(vars_.ExpandText("%IsFinishingSetup%"));
    vars_.SetVariable("%CanClose%", ScriptCanClose);
  }
  void ClosingAgreed() override { ++Agreed; }
  void RestartWindows() override { ADD_FAILURE() << "no restart was asked for"; }
  HWND SecondaryDialog() override { return Secondary; }
  HWND CopyingForm() override { return Copying; }

 private:
  Variables& vars_;
};

class WizardForm : public TForm {
 public:
  explicit WizardForm(HWND owner, const char* class_name = "KvbTestWizard")
      : TForm({.ClassName = class_name, .Caption = "Wizard", .ClientWidth = 300,
               .ClientHeight = 200, .Owner = owner}) {
    ShowWindow(Handle(), SW_SHOWNA);
  }
};

TEST(BackWindowTest, HostsTheWizardInFront) {
  test::ScratchFolder folder("back-host");
  RunVariables run(folder);
  std::vector<TSetupBackItem> none;
  TfrmBackWindow back(Properties(kBackCentred, kPlain, kPlain), none, run.vars);
  WizardForm wizard(back.Handle());
  ASSERT_TRUE(GetWindowLongA(wizard.Handle(), GWL_STYLE) & WS_SYSMENU);
  FakeHost host(run.vars);
  EXPECT_FALSE(back.WizardReady());
  back.HostWizard(wizard.Handle(), host);
  EXPECT_TRUE(back.WizardReady());

  const LONG style = GetWindowLongA(wizard.Handle(), GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_FALSE(style & WS_SYSMENU);
  EXPECT_TRUE(GetWindowLongA(wizard.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT b;
  RECT r;
  GetWindowRect(back.Handle(), &b);
  GetWindowRect(wizard.Handle(), &r);
  EXPECT_EQ(r.left, b.left + (b.right - b.left - (r.right - r.left)) / 2);
  EXPECT_EQ(r.top, b.top + (b.bottom - b.top - (r.bottom - r.top)) / 2);

  // With a secondary dialog open, activation puts the wizard directly below it.
  WizardForm secondary(wizard.Handle(), "KvbTestSecondary");
  host.Secondary = secondary.Handle();
  SendMessageA(back.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetWindow(secondary.Handle(), GW_HWNDNEXT), wizard.Handle());

  // With the wizard hidden, its copying window is made topmost.
  WizardForm copying(back.Handle(), "KvbTestCopying");
  host.Copying = copying.Handle();
  ShowWindow(wizard.Handle(), SW_HIDE);
  EXPECT_FALSE(GetWindowLongA(copying.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  SendMessageA(back.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(GetWindowLongA(copying.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(BackWindowTest, ClosingMarks) {
  test::ScratchFolder folder("back-close");
  RunVariables run(folder);
  std::vector<TSetupBackItem> none;
  TfrmBackWindow back(Properties(kBackCentred, kPlain, kPlain), none, run.vars);
  int closed = 0;
  back.OnClosed = [&] { ++closed; };
  FakeHost host(run.vars);

  // Without a wizard in place nothing closes it.
  back.Close();
  EXPECT_TRUE(back.Visible());
  EXPECT_EQ(back.ClosingMark(), kBackOpen);

  WizardForm wizard(back.Handle());
  back.HostWizard(wizard.Handle(), host);
  // Mark 0, a middle page: the user is asked and says No.
  back.Close();
  EXPECT_EQ(host.Asked, (std::vector<int>{kMsgExitSetup}));
  EXPECT_TRUE(back.Visible());
  EXPECT_EQ(back.ClosingMark(), kBackOpen);

  // Mark 2, the wizard's finishing close, refused by the closing script: nothing asked,
  // the mark goes back to 0.
  host.ScriptCanClose = "0";
  EXPECT_FALSE(back.CloseForWizard(true));
  EXPECT_EQ(host.Asked.size(), 1u);
  EXPECT_EQ(back.ClosingMark(), kBackOpen);
  EXPECT_FALSE(host.Finishing);
  EXPECT_TRUE(back.Visible());

  // Mark 0 again, the user says Yes: not a finishing close; the script refuses.
  host.AnswerYes = true;
  back.Close();
  EXPECT_EQ(host.Asked.size(), 2u);
  EXPECT_EQ(back.ClosingMark(), kBackOpen);
  EXPECT_TRUE(back.Visible());
  EXPECT_EQ(closed, 0);

  // Mark 2 agreed: the window closes and the run ends.
  host.ScriptCanClose = "1";
  EXPECT_TRUE(back.CloseForWizard(true));
  EXPECT_EQ(host.ScriptSawFinishing, (std::vector<std::string>{"1", "0", "1"}));
  EXPECT_EQ(back.ClosingMark(), kBackClosed);
  EXPECT_TRUE(host.Finishing);
  EXPECT_EQ(host.Agreed, 1);
  EXPECT_FALSE(back.Visible());
  EXPECT_EQ(closed, 1);

  // Mark 1: agreed at once, nothing runs again.
  EXPECT_TRUE(back.CloseForWizard(false));
  EXPECT_EQ(host.Agreed, 1);
  EXPECT_EQ(host.ScriptSawFinishing.size(), 3u);
}

// A background window as a package would show it, saved for people to look at.
TEST(BackWindowTest, Screenshot) {
  test::ScratchFolder folder("back-screenshot");
  RunVariables run(folder);
  test::WriteBitmapFile(folder / "back.bmp", 240, 140, [](int x, int y) {
    return ((x / 20) + (y / 20)) % 2 ? RGB(240, 200, 80) : RGB(250, 240, 210);
  });
  test::WriteBitmapFile(folder / "logo.bmp", 48, 48, [](int x, int y) {
    const int dx = x - 24;
    const int dy = y - 24;
    return dx * dx + dy * dy < 400 ? RGB(230, 120, 20) : kMagenta;
  });
  test::WriteSolidBitmapFile(folder / "badge.bmp", 64, 24, RGB(200, 30, 30));
  TSetupProperties p = Properties(kBackCentred, 0x00502000, 0x00FFC080);
  p.BackBitmap = "back.bmp";
  p.BackPlacement = kBackCentre;
  std::vector<TSetupBackItem> items = {
      TextItem(kTopLeft, "%SoftwareName% Setup", kTitleFont, true),
      TextItem(kTopLeft, "Version 1.2", {"Arial", 12, 0x00FFFFFF, 0, 0}, true),
      PictureItem(kTopRight, "logo.bmp", kSlideFromRight),
      TextItem(kBottomLeft, "Example Company && Partners", {"Arial", 10, 0x00E0E0E0, 2, 0}, false),
      PictureItem(kBottomRight, "badge.bmp", kSlideFromBottom),
  };
  items[2].PictureFlag = 1;
  items[2].PictureValue = 0x00FF00FF;
  TfrmBackWindow back(p, items, run.vars);
  PumpUntil([&] { return back.ItemsAnimated(); });
  test::SaveWindowPicture(back.Handle(), "back_window.bmp");
  const Picture picture(back.Handle());
  EXPECT_FALSE(BoundsOf(picture, kMagenta, Whole(picture)).has_value());
  // The centred picture lies over the gradient.
  EXPECT_EQ(picture.At(picture.Width() / 2 - 120, picture.Height() / 2 - 70), RGB(250, 240, 210));
}

}  // namespace
}  // namespace kvb
