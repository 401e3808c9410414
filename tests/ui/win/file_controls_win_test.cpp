// The drive and folder lists against the machine and a folder tree the test makes, and
// the rich-text viewer with its shared library and its links.
#include <gtest/gtest.h>

#include <richedit.h>

#include <fstream>

#include "base/text.h"
#include "ui/base/graphics_win.h"
#include "ui/controls/control_bitmaps_win.h"
#include "ui/controls/directory_list_box_win.h"
#include "ui/controls/drive_combo_box_win.h"
#include "ui/controls/label_win.h"
#include "ui/controls/rich_edit_viewer_win.h"
#include "ui_test_support_win.h"

namespace kvb {
namespace {

using test::HostForm;
using test::ScratchFolder;

std::vector<std::string> ListTexts(HWND list) {
  std::vector<std::string> texts;
  const auto count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[MAX_PATH] = {};
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    texts.push_back(text);
  }
  return texts;
}

TEST(ControlBitmapsTest, EveryPictureIsBuiltIn) {
  std::vector<std::string> names = {"DISKS"};
  for (const char* kind : {"HARD", "FLOPPY", "NETWORK", "CDROM", "RAM"}) {
    for (const char* variant : {"", "NFC_"})
      names.push_back(std::string(variant) + kind);
    names.push_back(std::string("NFC_") + kind + "95");
  }
  for (const char* folder : {"CLOSEDFOLDER", "OPENFOLDER", "CURRENTFOLDER"}) {
    names.push_back(folder);
    names.push_back(std::string("NFC_") + folder);
  }
  for (const std::string& name : names) {
    UniqueBitmap bitmap = LoadControlBitmap(name);
    ASSERT_TRUE(bitmap) << name;
    const SIZE size = BitmapSize(bitmap.Get());
    const int expected = name == "DISKS" ? 48 : 16;
    EXPECT_EQ(size.cx, expected) << name;
    EXPECT_EQ(size.cy, expected) << name;
    EXPECT_EQ(BottomLeftColor(bitmap.Get()), RGB(255, 0, 255)) << name << ": transparent corner";
  }
  EXPECT_FALSE(LoadControlBitmap("NFC_FLOPPY96"));
}

TEST(DriveComboTest, OneEntryPerDriveOfTheMask) {
  HostForm form;
  TNewDriveComboBox drives(form, 10, 10, 200, 21);
  const std::vector<char> letters = DriveLetters(GetLogicalDrives());
  ASSERT_EQ(drives.Drives().size(), letters.size());
  ASSERT_EQ(SendMessageA(drives.Handle(), CB_GETCOUNT, 0, 0), static_cast<LRESULT>(letters.size()));
  for (size_t i = 0; i < letters.size(); ++i) {
    const DriveInfo& drive = drives.Drives()[i];
    EXPECT_EQ(drive.Letter, letters[i]);
    const char root[4] = {letters[i], ':', '\\', '\0'};
    const UINT type = GetDriveTypeA(root);
    EXPECT_EQ(drive.Kind == DriveKind::kRemovable, type == DRIVE_REMOVABLE);
    char text[MAX_PATH] = {};
    SendMessageA(drives.Handle(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_TRUE(StartsWithText(text, std::string(1, letters[i]) + ":")) << text;
  }
  char windows[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, windows);
  EXPECT_EQ(drives.Drive(), LowerText(std::string(1, windows[0]))[0]) << "the current drive";
  drives.SetTextCase(TextCase::kUpperCase);
  char first[MAX_PATH] = {};
  SendMessageA(drives.Handle(), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(first[0], UpperAscii(letters[0]));
}

class FolderTree : public ::testing::Test {
 protected:
  FolderTree() : folder("tree"), list(form, 10, 10, 300, 200), label(form, 10, 220, 300, 14, "") {
    for (const char* name : {"beta", "Alpha", "gamma", "Alpha\\deep", ".hidden"})
      CreateDirectoryA((folder / name).c_str(), nullptr);
    SetFileAttributesA((folder / ".hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    std::ofstream(folder / "file.txt") << "not a folder";
    list.SetDirLabel(&label);
    list.OnChange = [this](TWindow&) { changes.push_back(list.Directory()); };
  }

  HostForm form;
  ScratchFolder folder;
  TNewDirectoryListBox list;
  TLabel label;
  std::vector<std::string> changes;
};

TEST_F(FolderTree, PathDownToTheFolderThenItsSubFolders) {
  list.SetDirectory(folder.Path() + "\\");
  const std::vector<std::string> parts = SplitText(folder.Path().substr(3), "\\");
  std::vector<std::string> texts = ListTexts(list.Handle());
  ASSERT_EQ(texts.size(), 1 + parts.size() + 3);
  EXPECT_TRUE(SameText(texts[0], folder.Path().substr(0, 3)));
  EXPECT_TRUE(SameText(texts[parts.size()], parts.back()));
  EXPECT_EQ(std::vector<std::string>(texts.end() - 3, texts.end()),
            (std::vector<std::string>{"Alpha", "beta", "gamma"}))
      << "sorted, no hidden folder, no file";
  EXPECT_EQ(SendMessageA(list.Handle(), LB_GETCURSEL, 0, 0), static_cast<LRESULT>(parts.size()))
      << "the current folder is selected";
  EXPECT_EQ(list.Directory(), folder.Path());
  EXPECT_EQ(label.Text(), folder.Path());
  EXPECT_EQ(changes, std::vector<std::string>{folder.Path()});
  list.SetDirectory(folder.Path());
  EXPECT_EQ(changes.size(), 1u) << "the same folder is no change";
}

TEST_F(FolderTree, DoubleClickChangesToTheEntry) {
  list.SetDirectory(folder.Path());
  const int alpha = static_cast<int>(list.Entries().size()) - 3;
  SendMessageA(list.Handle(), LB_SETCURSEL, alpha, 0);
  SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list.Handle()), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(list.Handle()));
  EXPECT_EQ(list.Directory(), folder / "Alpha");
  EXPECT_EQ(ListTexts(list.Handle()).back(), "deep");
  EXPECT_EQ(changes.size(), 2u);
}

TEST_F(FolderTree, UnreadableDriveGivesAnEmptyList) {
  const DWORD mask = GetLogicalDrives();
  char letter = 0;
  for (int bit = 25; bit >= 2 && !letter; --bit) {
    if (!(mask & (1u << bit)))
      letter = static_cast<char>('A' + bit);
  }
  ASSERT_NE(letter, 0);
  list.SetDirectory(std::string(1, letter) + ":\\Nowhere");
  EXPECT_EQ(SendMessageA(list.Handle(), LB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(list.Entries().empty());
}

TEST_F(FolderTree, DriveListMovesTheLinkedFolderList) {
  TNewDriveComboBox drives(form, 10, 240, 200, 21);
  drives.SetDirList(&list);
  list.SetDirectory(folder.Path());
  const char own = LowerText(folder.Path().substr(0, 1))[0];
  drives.SetDrive(own);
  EXPECT_EQ(list.Directory(), folder.Path()) << "already on that drive";
  for (const DriveInfo& drive : drives.Drives()) {
    if (drive.Letter != own && drive.Kind == DriveKind::kFixed) {
      EXPECT_TRUE(drives.SetDrive(drive.Letter));
      EXPECT_EQ(list.Directory(), std::string(1, UpperAscii(drive.Letter)) + ":\\");
      break;
    }
  }
  EXPECT_FALSE(drives.SetDrive('#'));
}

std::string WriteFile(const ScratchFolder& folder, const char* name, const std::string& text) {
  const std::string path = folder / name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

TEST(RichEditViewerTest, LoadsFilesAndOpensLinks) {
  HostForm form;
  ScratchFolder folder("viewer");
  TRichEditViewer viewer(form, 10, 10, 360, 100);
  viewer.Show();
  ASSERT_EQ(viewer.RichEditVersion(), 2);
  const std::string text = "Terms: see http://www.example.com/terms today.";
  ASSERT_TRUE(viewer.LoadFromFile(WriteFile(folder, "licence.txt", text)));
  EXPECT_EQ(viewer.Text(), text);
  EXPECT_TRUE(viewer.ReadOnly());

  // The address is marked as a link.
  const LONG start = static_cast<LONG>(text.find("http"));
  SendMessageA(viewer.Handle(), EM_SETSEL, start + 2, start + 3);
  CHARFORMAT2A format{};
  format.cbSize = sizeof(format);
  SendMessageA(viewer.Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_TRUE(format.dwEffects & CFE_LINK);

  // Releasing the left button over it opens it.
  std::vector<std::string> opened;
  viewer.OnOpenLink = [&opened](const std::string& link) { opened.push_back(link); };
  POINTL point{};
  SendMessageA(viewer.Handle(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), start + 4);
  const LPARAM where = MAKELPARAM(point.x + 1, point.y + 3);
  SendMessageA(viewer.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, where);
  SendMessageA(viewer.Handle(), WM_LBUTTONUP, 0, where);
  EXPECT_EQ(opened, std::vector<std::string>{"http://www.example.com/terms"});

  EXPECT_TRUE(viewer.LoadFromFile(
      WriteFile(folder, "licence.rtf", "{\\rtf1\\ansi {\\b Bold} and plain\\par}")));
  EXPECT_EQ(viewer.Text().substr(0, 14), "Bold and plain") << "rich text, not its source";
  EXPECT_FALSE(viewer.LoadFromFile(folder / "missing.txt"));
  EXPECT_EQ(viewer.Text().substr(0, 14), "Bold and plain");
}

TEST(RichEditViewerTest, LibraryIsSharedAndReleasedWithTheLastViewer) {
  HostForm form;
  ASSERT_EQ(GetModuleHandleA("riched20.dll"), nullptr);
  {
    auto first = std::make_unique<TRichEditViewer>(form, 0, 0, 100, 50);
    TRichEditViewer second(form, 0, 60, 100, 50);
    EXPECT_NE(GetModuleHandleA("riched20.dll"), nullptr);
    first.reset();
    EXPECT_NE(GetModuleHandleA("riched20.dll"), nullptr) << "one viewer left";
    EXPECT_TRUE(IsWindow(second.Handle()));
  }
  EXPECT_EQ(GetModuleHandleA("riched20.dll"), nullptr);

  TRichEditViewer plain(form, 0, 0, 100, 50, false);
  char name[32] = {};
  GetClassNameA(plain.Handle(), name, sizeof(name));
  EXPECT_TRUE(SameText(name, "Edit"));
  EXPECT_EQ(GetModuleHandleA("riched20.dll"), nullptr);
}

}  // namespace
}  // namespace kvb
