#include "ui/dialogs/msg_box_files_win.h"

#include <shellapi.h>

#include "base/size_text.h"
#include "ui/base/graphics_win.h"
#include "ui/controls/button_win.h"
#include "ui/controls/image_win.h"
#include "ui/controls/label_win.h"

namespace kvb {

namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

// The owner's font, or the form's own.
TFontRecord OwnerFont(HWND owner) {
  if (TWindow* window = TWindow::FromHandle(owner); window && window->Font().Size != 0)
    return window->Font();
  if (owner) {
    if (auto font = reinterpret_cast<HFONT>(SendMessageA(owner, WM_GETFONT, 0, 0)))
      return FontRecordOf(font);
  }
  return {"MS Sans Serif", 8, kClWindowText, 0, 1};
}

char DecimalSeparator() {
  char separator[4] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof(separator));
  return separator[0] ? separator[0] : '.';
}

// Size text, a line break, then the short date, three spaces and the short time.
std::string FileInfoText(uint64_t size, const SYSTEMTIME& time) {
  char date[64] = {};
  char clock[64] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, sizeof(date));
  GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, clock, sizeof(clock));
  return FormatSizeText(size, SizeUnit::kBytes, DecimalSeparator()) + "\r" + date + "   " + clock;
}

// Empty when the file cannot be read.
std::string ExistingFileText(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
    return {};
  FILETIME local;
  SYSTEMTIME time;
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToSystemTime(&local, &time);
  return FileInfoText((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow, time);
}

std::string NewFileText(const NewFileInfo& file) {
  FILETIME stamp{};
  SYSTEMTIME time{};
  // DOS dates are local already.
  DosDateTimeToFileTime(HIWORD(file.DosDate), LOWORD(file.DosDate), &stamp);
  FileTimeToSystemTime(&stamp, &time);
  return FileInfoText(file.Size, time);
}

// The large icon of the file's type from the system's file icons; null when it has none.
HICON FileIcon(const std::string& path) {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info),
                      SHGFI_ICON | SHGFI_LARGEICON | SHGFI_SYSICONINDEX)) {
    return nullptr;
  }
  return info.hIcon;
}

}  // namespace

TfrmMsgBoxFiles::TfrmMsgBoxFiles(HWND owner)
    : TForm({.ClassName = kWindowClass,
             .ClientWidth = 418,
             .ClientHeight = 269,
             .Owner = owner,
             .Font = OwnerFont(owner)}) {
  imgInfo_ = &Own(std::make_unique<TImage>(*this, 15, 16, 32, 32));
  imgInfo_->SetIcon(LoadIconA(nullptr, IDI_QUESTION), false);
  btnYes_ = &Button(kMrYes);
  lblMsg_ = &Label(59, 12, 349, 41, true);
  lblMsg_->SetCentredVertically(true);
  btnYesToAll_ = &Button(kMrYesToAll);
  btnNo_ = &Button(kMrNo);
  btnNoToAll_ = &Button(kMrNoToAll);
  btnCancel_ = &Button(kMrCancel);
  imgFile1_ = &Own(std::make_unique<TImage>(*this, 76, 88, 32, 32));
  lblFile1_ = &Label(120, 88, 285, 32, false);
  lblExistent_ = &Label(59, 64, 349, 17, false);
  lblDestination_ = &Label(59, 140, 349, 17, false);
  imgFile2_ = &Own(std::make_unique<TImage>(*this, 76, 164, 32, 32));
  lblFile2_ = &Label(120, 164, 285, 32, false);
  ShowControls();
  btnNo_->SetDefault(true);
  btnCancel_->SetCancel(true);
  // No comes first in the tab order, so it has the focus when the prompt opens.
  SetWindowPos(btnNo_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetTexts(OverwriteTexts());
  Arrange(kFileInfoNone, "", {}, false);
}

TfrmMsgBoxFiles::~TfrmMsgBoxFiles() = default;

TLabel& TfrmMsgBoxFiles::Label(int left, int top, int width, int height, bool wrap) {
  auto& label = Own(std::make_unique<TLabel>(*this, left, top, width, height, ""));
  label.SetWordWrap(wrap);
  // File names are shown as they are, `&` included.
  label.SetShowAccelChar(false);
  return label;
}

TButton& TfrmMsgBoxFiles::Button(int result) {
  auto& button = Own(std::make_unique<TButton>(*this, 0, 0, kButtonWidth, kButtonHeight, ""));
  button.SetModalResult(result);
  return button;
}

void TfrmMsgBoxFiles::SetTexts(const OverwriteTexts& texts) {
  SetCaption(texts.Caption);
  lblMsg_->SetText(texts.Message);
  btnYes_->SetText(texts.Yes);
  btnYesToAll_->SetText(texts.YesToAll);
  btnNo_->SetText(texts.No);
  btnNoToAll_->SetText(texts.NoToAll);
  btnCancel_->SetText(texts.Cancel);
  lblExistent_->SetText(texts.ExistingLabel);
  lblDestination_->SetText(texts.DestinationLabel);
}

void TfrmMsgBoxFiles::Arrange(int mode,
                              const std::string& existing_path,
                              const NewFileInfo& new_file,
                              bool four_buttons) {
  HICON icon =
      mode == kFileInfoExisting || mode == kFileInfoBoth ? FileIcon(existing_path) : nullptr;
  const OverwriteLayout layout = OverwritePromptLayout(mode, icon != nullptr, four_buttons);
  TButton* buttons[] = {btnYes_, btnYesToAll_, btnNo_, btnNoToAll_, btnCancel_};
  for (size_t i = 0; i < 5; ++i)
    buttons[i]->SetBounds(layout.ButtonLeft[i], layout.ButtonTop, kButtonWidth, kButtonHeight);
  btnCancel_->SetVisible(layout.CancelButton);

  imgFile1_->SetIcon(icon, true);
  imgFile2_->SetIcon(icon ? CopyIcon(icon) : nullptr, true);
  imgFile1_->SetVisible(layout.ExistingRow && layout.Pictures);
  imgFile2_->SetVisible(layout.DestinationRow && layout.Pictures);
  lblExistent_->SetVisible(layout.ExistingRow);
  lblFile1_->SetVisible(layout.ExistingRow);
  lblDestination_->SetVisible(layout.DestinationRow);
  lblFile2_->SetVisible(layout.DestinationRow);
  lblFile1_->SetBounds(layout.FileLabelLeft, 88, layout.FileLabelWidth, 32);
  lblFile2_->SetBounds(layout.FileLabelLeft, 164, layout.FileLabelWidth, 32);
  lblFile1_->SetText(layout.ExistingRow ? ExistingFileText(existing_path) : "");
  lblFile2_->SetText(layout.DestinationRow ? NewFileText(new_file) : "");

  SetWindowPos(Handle(), nullptr, 0, 0, Width(), layout.FormHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CenterOnScreen();
}

int AskFileOverwrite(HWND owner,
                     const OverwriteTexts& texts,
                     int mode,
                     const std::string& existing_path,
                     const NewFileInfo& new_file) {
  TfrmMsgBoxFiles form(owner);
  form.SetTexts(texts);
  form.Arrange(mode, existing_path, new_file, false);
  MessageBeep(MB_ICONASTERISK);
  return form.ShowModal();
}

int AskFileAction(HWND owner, const OverwriteTexts& texts, const std::string& path) {
  TfrmMsgBoxFiles form(owner);
  form.SetTexts(texts);
  form.Arrange(kFileInfoExisting, path, {}, true);
  MessageBeep(MB_ICONASTERISK);
  return form.ShowModal();
}

}  // namespace kvb
