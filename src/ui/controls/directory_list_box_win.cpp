#include "ui/controls/directory_list_box_win.h"

#include <algorithm>

#include "base/text.h"
#include "ui/base/graphics_win.h"
#include "ui/controls/control_bitmaps_win.h"
#include "ui/controls/list_items_win.h"
#include "ui/controls/volume_win.h"

namespace kvb {

namespace {

constexpr int kIndent = 8;  // per level

// "C:\" for a drive root, otherwise the path without a trailing backslash.
std::string NormalFolder(const std::string& folder) {
  const std::string path = ExcludeTrailingBackslash(folder);
  return path.size() == 2 && path[1] == ':' ? path + "\\" : path;
}

}  // namespace

TNewDirectoryListBox::TNewDirectoryListBox(TWindow& parent,
                                           int left,
                                           int top,
                                           int width,
                                           int height) {
  if (!CreateControlWindow({.ClassName = "LISTBOX",
                            .Style = WS_CHILD | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY |
                                     LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                            .ExStyle = WS_EX_CLIENTEDGE,
                            .Left = left,
                            .Top = top,
                            .Width = width,
                            .Height = height,
                            .Parent = &parent}))
    return;
  SetColor(kClWindow);
  for (FolderPicture picture :
       {FolderPicture::kOpen, FolderPicture::kCurrent, FolderPicture::kClosed}) {
    pictures_[static_cast<int>(picture)] = LoadControlBitmap(FolderPictureName(picture));
  }
  UpdateItemHeight();
}

void TNewDirectoryListBox::SetFont(const TFontRecord& font) {
  TWindow::SetFont(font);
  UpdateItemHeight();
}

void TNewDirectoryListBox::UpdateItemHeight() {
  const int text_height = MeasureText("Wg").cy;
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, std::max(text_height, kListPictureSize));
}

void TNewDirectoryListBox::SetDirectory(const std::string& folder) {
  const std::string normal = NormalFolder(folder);
  if (SameText(normal, directory_) && !entries_.empty())
    return;
  const bool changed = !SameText(normal, directory_);
  directory_ = normal;
  Rebuild();
  if (dir_label_)
    dir_label_->SetText(directory_);
  if (changed && OnChange)
    OnChange(*this);
}

void TNewDirectoryListBox::Update() {
  Rebuild();
}

void TNewDirectoryListBox::SetDirLabel(TWindow* label) {
  dir_label_ = label;
  if (dir_label_)
    dir_label_->SetText(directory_);
}

std::vector<std::string> TNewDirectoryListBox::SubFolders() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((IncludeTrailingBackslash(directory_) + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return names;
  do {
    const std::string name = found.cFileName;
    const DWORD attributes = found.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_HIDDEN) &&
        name != "." && name != "..") {
      names.push_back(name);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

void TNewDirectoryListBox::Rebuild() {
  entries_.clear();
  SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
  if (directory_.size() < 2 || directory_[1] != ':')
    return;
  const std::string root = directory_.substr(0, 2) + "\\";
  const std::optional<VolumeFacts> volume = ReadVolume(root);
  if (!volume)
    return;
  preserve_case_ = volume->Flags & FS_CASE_IS_PRESERVED;
  case_sensitive_ = volume->Flags & FS_CASE_SENSITIVE;
  entries_ = DirectoryEntries(directory_, SubFolders(), preserve_case_);
  for (const DirectoryEntry& entry : entries_)
    SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.Text.c_str()));
  SendMessageA(Handle(), LB_SETCURSEL, CurrentDirectoryIndex(entries_), 0);
}

void TNewDirectoryListBox::OpenEntry(int index) {
  if (index >= 0 && index < static_cast<int>(entries_.size()))
    SetDirectory(entries_[index].Path);
}

void TNewDirectoryListBox::DrawItem(const DRAWITEMSTRUCT& draw) {
  HDC dc = draw.hDC;
  const RECT& item = draw.rcItem;
  FillRect(dc, &item, ColorBrush());
  const auto index = static_cast<int>(draw.itemID);
  if (index < 0 || index >= static_cast<int>(entries_.size()))
    return;
  const DirectoryEntry& entry = entries_[index];
  const int x = item.left + 2 + entry.Level * kIndent;
  DrawListPicture(dc, item, x, pictures_[static_cast<int>(entry.Picture)].Get());
  SelectedObject font(dc, DrawingFont());
  RECT text = {x + kListPictureSize + 4, item.top, item.right, item.bottom};
  RECT measured = text;
  DrawTextA(dc, entry.Text.c_str(), -1, &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  RECT highlight = {text.left - 1, item.top, std::min<LONG>(measured.right + 2, item.right),
                    item.bottom};
  const bool selected = draw.itemState & ODS_SELECTED;
  if (selected)
    FillRect(dc, &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : FontColor());
  DrawTextA(dc, entry.Text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (ShowsFocusRect(draw))
    DrawFocusRect(dc, &highlight);
}

bool TNewDirectoryListBox::HandleNotification(UINT message,
                                              WPARAM wparam,
                                              LPARAM lparam,
                                              LRESULT& result) {
  switch (message) {
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      result = TRUE;
      return true;
    case WM_COMMAND:
      if (HIWORD(wparam) == LBN_DBLCLK)
        OpenEntry(static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0)));
      result = 0;
      return true;
  }
  return TWindow::HandleNotification(message, wparam, lparam, result);
}

}  // namespace kvb
