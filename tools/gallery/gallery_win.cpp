#include "gallery/gallery_win.h"

#include <fstream>

#include "ui/base/panel_win.h"
#include "ui/controls/button_win.h"
#include "ui/controls/control_bitmaps_win.h"
#include "ui/controls/label_win.h"
#include "ui/controls/ps_graphic_controls_win.h"
#include "ui/controls/ps_list_controls_win.h"
#include "ui/controls/ps_text_controls_win.h"

namespace kvb::gallery {

namespace {

TSetupControl Rec(int left, int top, int width, int height) {
  TSetupControl record;
  record.Left = left;
  record.Top = top;
  record.Width = width;
  record.Height = height;
  return record;
}

// A panel painted in vertical bands, so that controls painting over their parent's
// background show whether they do.
class TBandedPanel : public TPanel {
 public:
  using TPanel::TPanel;

 protected:
  void PaintBackground(HDC dc) override {
    RECT client;
    GetClientRect(Handle(), &client);
    const COLORREF colours[] = {RGB(255, 220, 160), RGB(170, 210, 255), RGB(200, 240, 190)};
    for (int i = 0; i < 3; ++i) {
      RECT band = {client.right * i / 3, 0, client.right * (i + 1) / 3, client.bottom};
      UniqueBrush brush(CreateSolidBrush(colours[i]));
      FillRect(dc, &band, brush.Get());
    }
  }
};

// A heading over a group of controls, as wide as its column.
void Heading(TWindow& parent, int left, int top, const std::string& text) {
  const int width = left < 232 ? 210 : left < 548 ? 300 : 340;
  auto& label = parent.Own(std::make_unique<TLabel>(parent, left, top, width, 14, text));
  label.SetFont(BoldFont(label.Font()));
  label.Show();
}

template <typename T>
T& Add(TWindow& owner, std::unique_ptr<T> control) {
  T& result = owner.Own(std::move(control));
  result.Show();
  return result;
}

}  // namespace

TfrmGallery::TfrmGallery()
    : TForm({.ClassName = kWindowClass,
             .Caption = "Control gallery",
             .ClientWidth = 900,
             .ClientHeight = 640,
             .Style = kDialogFormStyle | WS_MINIMIZEBOX,
             .Font = {"MS Sans Serif", 8, kClWindowText, 0, 1}}) {
  for (const char* name : {"NFC_HARD95", "NFC_CDROM95", "NFC_NETWORK95"}) {
    UniqueBitmap bitmap = LoadControlBitmap(name);
    pictures_.AddMasked(bitmap.Get(), BottomLeftColor(bitmap.Get()));
  }
  AddTextControls();
  AddChoiceControls();
  AddListControls();
  AddFileControls();
  AddGraphicControls();
  AddFramesAndViewers();
  AddDialogButtons();
  auto& close = Add(*this, std::make_unique<TButton>(*this, 812, 608, 75, 23, "Close"));
  close.SetCancel(true);
  close.OnClick = [this](TWindow&) { PostQuitMessage(0); };
}

void TfrmGallery::AddTextControls() {
  Heading(*this, 8, 8, "Labels, text boxes, buttons");
  auto& label = Add(*this, std::make_unique<TPSLabel>(*this, Rec(8, 28, 200, 28)));
  label.SetText("A word-wrapped label that runs over two lines");
  auto& disabled = Add(*this, std::make_unique<TPSLabel>(*this, Rec(8, 60, 200, 14)));
  disabled.SetText("Disabled label");
  disabled.SetEnabled(false);
  Add(*this, std::make_unique<TPSEdit>(*this, Rec(8, 80, 200, 21)));
  auto& read_only = Add(*this, std::make_unique<TPSEdit>(*this, Rec(8, 106, 200, 21)));
  read_only.SetText("Read-only text box");
  read_only.SetReadOnly(true);
  auto& plain = Add(*this, std::make_unique<TPSButton>(*this, Rec(8, 134, 64, 23)));
  plain.SetText("Plain");
  auto& default_button = Add(*this, std::make_unique<TPSButton>(*this, Rec(76, 134, 64, 23)));
  default_button.SetText("Default");
  default_button.SetButtonType(TPSButton::kDefaultButton);
  auto& off = Add(*this, std::make_unique<TPSButton>(*this, Rec(144, 134, 64, 23)));
  off.SetText("Disabled");
  off.SetEnabled(false);
}

void TfrmGallery::AddChoiceControls() {
  Heading(*this, 8, 168, "Check boxes and radio buttons");
  auto& banded = Add(*this, std::make_unique<TBandedPanel>(*this, 8, 186, 210, 150));
  const char* captions[] = {"Unchecked", "Checked", "Disabled, checked"};
  for (int i = 0; i < 3; ++i) {
    auto& box = Add(banded, std::make_unique<TPSCheckBox>(banded, Rec(6, 6 + i * 22, 196, 18)));
    box.SetText(captions[i]);
    box.SetChecked(i > 0);
    box.SetEnabled(i < 2);
  }
  auto& opaque = Add(banded, std::make_unique<TPSCheckBox>(banded, Rec(6, 72, 196, 18)));
  opaque.SetText("Not transparent");
  opaque.SetTransparentPaint(false);
  for (int i = 0; i < 2; ++i) {
    auto& radio =
        Add(banded, std::make_unique<TPSRadioButton>(banded, Rec(6, 98 + i * 22, 196, 18)));
    radio.SetText(i == 0 ? "Radio, checked" : "Radio");
    radio.SetChecked(i == 0);
  }
  auto& transparent = Add(banded, std::make_unique<TPSLabel>(banded, Rec(110, 6, 90, 14)));
  transparent.SetText("Transparent");
  transparent.SetTransparent(true);
}

void TfrmGallery::AddListControls() {
  Heading(*this, 232, 8, "Components list (checks, pictures, sizes)");
  auto& list = Add(*this, std::make_unique<TPSListBox>(*this, Rec(232, 28, 300, 112)));
  list.SetImageList(&pictures_);
  list.SetCustomDraw(true);
  list.SetShowChecks(true);
  list.SetShowFileSize(true);
  list.SetShowImages(true);
  list.SetShowDisabledChecks(false);
  list.AddItem("Program files", CheckState::kChecked, true, "Program", 1996, 0);
  list.AddItem("Documentation (grayed)", CheckState::kGrayed, true, "Docs", 2047, 1);
  list.AddItem("Network tools", CheckState::kUnchecked, true, "Net", 1 << 20, 2);
  list.AddItem("Nothing to install (disabled)", CheckState::kChecked, false, "None", 0, -1);
  list.AddItem("Samples (locked)", CheckState::kChecked, true, "Samples", 3 << 20, 0);
  list.SetLocked(4, true);
  list.SetItemIndex(0);

  Heading(*this, 232, 146, "Full row, 3D boxes, disabled checks");
  auto& full = Add(*this, std::make_unique<TPSListBox>(*this, Rec(232, 164, 300, 64)));
  full.SetCustomDraw(true);
  full.SetShowChecks(true);
  full.SetFlat(false);
  full.SetFullItemSelect(true);
  full.AddItem("Selected, checked", CheckState::kChecked);
  full.AddItem("Disabled item keeps its check", CheckState::kChecked, false);
  full.AddItem("Grayed", CheckState::kGrayed);
  full.SetItemIndex(0);

  Heading(*this, 232, 234, "Plain list, combo boxes");
  auto& plain = Add(*this, std::make_unique<TPSListBox>(*this, Rec(232, 252, 140, 60)));
  for (const char* item : {"alpha", "beta", "gamma", "delta"})
    plain.AddItem(item);
  plain.SetValue("beta");
  auto& typing = Add(*this, std::make_unique<TPSComboBox>(*this, Rec(380, 252, 152, 21)));
  for (const char* item : {"Typical", "Compact", "Custom"})
    typing.AddItem(item);
  typing.SetValue("Typed text");
  auto& list_only = Add(*this, std::make_unique<TPSComboBox>(*this, Rec(380, 280, 152, 21)));
  list_only.SetListOnly(true);
  for (const char* item : {"Typical", "Compact", "Custom"})
    list_only.AddItem(item);
  list_only.SetValue("Compact");
}

void TfrmGallery::AddFileControls() {
  Heading(*this, 232, 318, "Drives and folders");
  auto& drives = Add(*this, std::make_unique<TPSDriveCombo>(*this, Rec(232, 336, 300, 22)));
  auto& folders = Add(*this, std::make_unique<TPSDirList>(*this, Rec(232, 362, 300, 120)));
  auto& path = Add(*this, std::make_unique<TLabel>(*this, 232, 486, 300, 14, ""));
  path.SetShowAccelChar(false);
  drives.SetDirList(&folders);
  folders.SetDirLabel(&path);
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  folders.SetDirectory(windows);
  drives.SetDrive(windows[0]);
}

void TfrmGallery::AddGraphicControls() {
  Heading(*this, 548, 8, "Images, image buttons, line, shapes");
  UniqueBitmap disks = LoadControlBitmap("DISKS");
  const struct {
    bool stretch, transparent, border;
  } images[] = {{false, false, false}, {false, true, true}, {true, true, false}};
  for (int i = 0; i < 3; ++i) {
    auto& image = Add(*this, std::make_unique<TPSImage>(*this, Rec(548 + i * 70, 28, 64, 64)));
    image.SetPicture(UniqueBitmap(
        static_cast<HBITMAP>(CopyImage(disks.Get(), IMAGE_BITMAP, 0, 0, LR_COPYRETURNORG))));
    image.SetStretch(images[i].stretch);
    image.SetTransparent(images[i].transparent);
    image.SetBorder(images[i].border);
  }
  auto& button = Add(*this, std::make_unique<TPSImageButton>(*this, Rec(760, 28, 22, 22)));
  button.SetPicture(LoadControlBitmap("NFC_OPENFOLDER"));
  auto& tiny = Add(*this, std::make_unique<TPSImageButton>(*this, Rec(788, 28, 22, 22)));
  tiny.SetPicture(UniqueBitmap(CreateBitmap(4, 4, 1, 32, nullptr)));
  auto& large = Add(*this, std::make_unique<TPSImageButton>(*this, Rec(816, 28, 22, 22)));
  large.SetPicture(LoadControlBitmap("DISKS"));
  Add(*this, std::make_unique<TPSLine>(*this, Rec(548, 100, 340, 4)));

  const uint32_t pens[] = {0x000000, 0x800000, 0x80000010u, 0x0000C0, 0x008000, 0x80000002u};
  const uint32_t brushes[] = {0xFFFFFF, 0xFFC080, 0x8000000Fu, 0x80C0FF, 0xC0FFC0, 0x8000000Du};
  for (int i = 0; i < 6; ++i) {
    auto& shape = Add(*this, std::make_unique<TPSShape>(*this, Rec(548 + i * 57, 112, 52, 36)));
    shape.SetShape(i);
    shape.SetPenColor(pens[i]);
    shape.SetBrushColor(brushes[i]);
  }
}

void TfrmGallery::AddFramesAndViewers() {
  const char* captions[] = {"Frame", "Disabled frame", "No Ctl3D"};
  for (int i = 0; i < 3; ++i) {
    auto& frame = Add(*this, std::make_unique<TPSFrame>(*this, Rec(548 + i * 116, 156, 108, 56)));
    frame.SetText(captions[i]);
    frame.SetEnabled(i != 1);
    frame.SetCtl3D(i != 2);
  }
  auto& progress = Add(*this, std::make_unique<TPSProgress>(*this, Rec(548, 222, 340, 16)));
  progress.SetPosition(60);

  Heading(*this, 548, 246, "Licence viewer, memo list");
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string file = std::string(folder) + "kvb-gallery-licence.rtf";
  std::ofstream(file, std::ios::binary)
      << "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs16 {\\b Licence agreement}\\par "
         "Read it at http://www.example.com/licence before you go on.\\par "
         "Plain lines follow.\\par}";
  auto& licence = Add(*this, std::make_unique<TPSLicense>(*this, Rec(548, 264, 340, 110)));
  licence.SetScrollBars(ScrollBars::kVertical);
  licence.LoadFromFile(file);
  DeleteFileA(file.c_str());
  auto& memo = Add(*this, std::make_unique<TPSMemoList>(*this, Rec(548, 380, 340, 100)));
  memo.SetLines({"C:\\Program Files\\Acme\\locked.dll", "C:\\Program Files\\Acme\\data"});
  memo.SetReadOnly(true);
  memo.SetColor(0x8000000Fu);
  memo.SetScrollBars(ScrollBars::kBoth);
}

}  // namespace kvb::gallery
