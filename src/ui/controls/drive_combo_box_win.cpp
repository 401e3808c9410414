#include "ui/controls/drive_combo_box_win.h"

#include <algorithm>

#include "base/system_library_win.h"
#include "base/text.h"
#include "ui/base/graphics_win.h"
#include "ui/controls/control_bitmaps_win.h"
#include "ui/controls/directory_list_box_win.h"
#include "ui/controls/list_items_win.h"
#include "ui/controls/volume_win.h"

namespace kvb {

namespace {

constexpr int kDroppedListHeight = 160;

DriveKind KindOf(UINT type) {
  switch (type) {
    case DRIVE_REMOVABLE:
      return DriveKind::kRemovable;
    case DRIVE_FIXED:
      return DriveKind::kFixed;
    case DRIVE_REMOTE:
      return DriveKind::kNetwork;
    case DRIVE_CDROM:
      return DriveKind::kCdRom;
    case DRIVE_RAMDISK:
      return DriveKind::kRam;
  }
  return DriveKind::kUnknown;
}

// The remote name of a network drive ("\\server\share"), through the network provider
// library loaded from the system folder; empty when unknown.
std::string ConnectionName(char letter) {
  using GetConnectionFn = DWORD(WINAPI*)(LPCSTR, LPSTR, LPDWORD);
  static const SystemLibrary mpr("mpr.dll");
  const auto get_connection = mpr.Function<GetConnectionFn>("WNetGetConnectionA");
  if (!get_connection)
    return {};
  const char local[3] = {letter, ':', '\0'};
  char remote[MAX_PATH] = {};
  DWORD size = sizeof(remote);
  return get_connection(local, remote, &size) == NO_ERROR ? std::string(remote) : std::string();
}

DriveInfo ReadDrive(char letter) {
  DriveInfo drive;
  drive.Letter = letter;
  const std::string root = {letter, ':', '\\'};
  drive.Kind = KindOf(GetDriveTypeA(root.c_str()));
  if (drive.Kind == DriveKind::kNetwork)
    drive.ConnectionName = ConnectionName(letter);
  else if (drive.Kind != DriveKind::kRemovable)
    drive.VolumeLabel = ReadVolume(root).value_or(VolumeFacts()).Label;
  return drive;
}

}  // namespace

TNewDriveComboBox::TNewDriveComboBox(TWindow& parent, int left, int top, int width, int height) {
  if (!CreateControlWindow({.ClassName = "COMBOBOX",
                            .Style = WS_CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST |
                                     CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                            .Left = left,
                            .Top = top,
                            .Width = width,
                            .Height = height + kDroppedListHeight,
                            .Parent = &parent}))
    return;
  SetColor(kClWindow);
  UpdateItemHeight();
  Fill();
  char current[MAX_PATH] = {};
  if (GetCurrentDirectoryA(MAX_PATH, current) >= 2 && current[1] == ':') {
    const int index = IndexOf(current[0]);
    if (index >= 0) {
      drive_ = drives_[index].Letter;
      SendMessageA(Handle(), CB_SETCURSEL, index, 0);
    }
  }
}

void TNewDriveComboBox::SetFont(const TFontRecord& font) {
  TWindow::SetFont(font);
  UpdateItemHeight();
}

void TNewDriveComboBox::UpdateItemHeight() {
  const int text_height = MeasureText("Wg").cy;
  const int height = std::max(text_height, kListPictureSize);
  SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);  // the closed box
  SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, height);                        // the list
}

void TNewDriveComboBox::Fill() {
  drives_.clear();
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
  for (char letter : DriveLetters(GetLogicalDrives())) {
    drives_.push_back(ReadDrive(letter));
    const std::string text = DriveText(drives_.back(), text_case_);
    SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendMessageA(Handle(), CB_SETCURSEL, IndexOf(drive_), 0);
}

void TNewDriveComboBox::Refresh() {
  Fill();
}

int TNewDriveComboBox::IndexOf(char letter) const {
  const char lower = LowerText(std::string(1, letter))[0];
  for (size_t i = 0; i < drives_.size(); ++i) {
    if (drives_[i].Letter == lower)
      return static_cast<int>(i);
  }
  return -1;
}

bool TNewDriveComboBox::SetDrive(char letter) {
  const int index = IndexOf(letter);
  if (index < 0)
    return false;
  SendMessageA(Handle(), CB_SETCURSEL, index, 0);
  const char chosen = drives_[index].Letter;
  if (chosen == drive_)
    return true;
  drive_ = chosen;
  if (dir_list_) {
    const std::string& folder = dir_list_->Directory();
    if (folder.empty() || LowerText(folder.substr(0, 1))[0] != chosen)
      dir_list_->SetDirectory(std::string(1, UpperAscii(chosen)) + ":\\");
  }
  if (OnChange)
    OnChange(*this);
  return true;
}

void TNewDriveComboBox::SetDirList(TNewDirectoryListBox* list) {
  dir_list_ = list;
}

void TNewDriveComboBox::SetTextCase(TextCase text_case) {
  text_case_ = text_case;
  Fill();
}

HBITMAP TNewDriveComboBox::Picture(DriveKind kind) {
  UniqueBitmap& picture = pictures_[static_cast<int>(kind)];
  if (!picture)
    picture = LoadControlBitmap(DrivePictureName(kind, NewerShell()));
  return picture.Get();
}

void TNewDriveComboBox::DrawItem(const DRAWITEMSTRUCT& draw) {
  HDC dc = draw.hDC;
  const RECT& item = draw.rcItem;
  const auto index = static_cast<int>(draw.itemID);
  const bool selected = draw.itemState & ODS_SELECTED;
  FillRect(dc, &item, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : ColorBrush());
  if (index < 0 || index >= static_cast<int>(drives_.size()))
    return;
  DrawListPicture(dc, item, item.left + 2, Picture(drives_[index].Kind));
  SelectedObject font(dc, DrawingFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : FontColor());
  const std::string text = DriveText(drives_[index], text_case_);
  RECT area = {item.left + kListPictureSize + 6, item.top, item.right, item.bottom};
  DrawTextA(dc, text.c_str(), -1, &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (ShowsFocusRect(draw))
    DrawFocusRect(dc, &item);
}

bool TNewDriveComboBox::HandleNotification(UINT message,
                                           WPARAM wparam,
                                           LPARAM lparam,
                                           LRESULT& result) {
  switch (message) {
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      result = TRUE;
      return true;
    case WM_COMMAND:
      if (HIWORD(wparam) == CBN_SELCHANGE) {
        const auto index = static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
        if (index >= 0 && index < static_cast<int>(drives_.size()))
          SetDrive(drives_[index].Letter);
      } else if (HIWORD(wparam) == CBN_DROPDOWN && auto_refresh_) {
        Fill();
      }
      result = 0;
      return true;
  }
  return TWindow::HandleNotification(message, wparam, lparam, result);
}

}  // namespace kvb
