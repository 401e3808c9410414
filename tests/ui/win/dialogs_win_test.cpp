// The fixed dialogs that ask: the overwrite prompt's layouts and results, the next-disk
// request's volume file rule and its Browse, the folder selection and its new-folder box.
// Modal runs are driven in-process by ModalScript; message boxes are recorded.
#include <gtest/gtest.h>

#include <fstream>

#include "ui/controls/directory_list_box_win.h"
#include "ui/dialogs/directory_sel_win.h"
#include "ui/dialogs/msg_box_files_win.h"
#include "ui/dialogs/need_disk_win.h"
#include "ui_test_support_win.h"

namespace kvb {
namespace {

using test::ChildBounds;
using test::ChildWithText;
using test::ModalScript;
using test::Press;
using test::ScratchFolder;

using Shown = std::vector<std::pair<std::string, UINT>>;

// A context whose message boxes are recorded in `shown`.
DialogContext Recording(Shown& shown) {
  DialogContext context;
  context.Title = "Acme Setup";
  context.ShowMessage = [&shown](HWND, const std::string& text, UINT icon) {
    shown.emplace_back(text, icon);
  };
  return context;
}

std::string TextOf(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

// The control's own visible flag (its form may be hidden).
bool Shows(HWND child) {
  return child && (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE);
}

void WriteBytes(const std::string& path, size_t count) {
  std::ofstream(path, std::ios::binary) << std::string(count, 'x');
}

TEST(OverwritePromptTest, LayoutsByModeAndIcon) {
  ScratchFolder folder("prompt");
  WriteBytes(folder / "data.txt", 1996);
  const NewFileInfo new_file{(0x5264u << 16) | 0x6000u, 2047};  // 2021-03-04 12:00
  struct Case {
    int mode;
    const char* file;
    int height, button_top;
    bool existing, destination, pictures;
    int label_left;
  } cases[] = {
      {0, "data.txt", 133, 64, false, false, false, 0},
      {1, "data.txt", 204, 139, true, false, true, 120},
      {2, "data.txt", 296, 231, true, true, true, 120},
      {2, "missing.nothing", 296, 231, true, true, false, 76},  // no icon for it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    TfrmMsgBoxFiles form(nullptr);
    form.SetTexts({"Acme Setup", "Overwrite data.txt?"});
    form.Arrange(c.mode, folder / c.file, new_file, false);
    EXPECT_EQ(form.Height(), c.height);
    EXPECT_EQ(ChildBounds(ChildWithText(form.Handle(), "No")).top, c.button_top);
    EXPECT_EQ(Shows(ChildWithText(form.Handle(), "Existent File")), c.existing);
    EXPECT_EQ(Shows(ChildWithText(form.Handle(), "Destination File")), c.destination);
    EXPECT_TRUE(Shows(ChildWithText(form.Handle(), "Cancel")));
    if (!c.existing)
      continue;
    const HWND file_label =
        ChildWindowFromPointEx(form.Handle(), {c.label_left + 2, 92}, CWP_SKIPINVISIBLE);
    const std::string file_text = TextOf(file_label);
    EXPECT_EQ(ChildBounds(file_label).right, 405);
    if (c.pictures) {
      EXPECT_TRUE(file_text.rfind("1.9 KB\r", 0) == 0) << file_text;
      EXPECT_NE(file_text.find("   "), std::string::npos) << "date, three spaces, time";
    } else {
      EXPECT_EQ(file_text, "") << "the missing file has no size or date";
    }
  }
}

TEST(OverwritePromptTest, NoIsTheDefaultAndButtonsGiveTheirResults) {
  ScratchFolder folder("answers");
  WriteBytes(folder / "data.txt", 10);
  bool no_focused = false;
  ModalScript script({{"TfrmMsgBoxFiles", [&](HWND window) {
                         no_focused = GetFocus() == ChildWithText(window, "No");
                         Press(window, "Yes To All");
                       }}});
  EXPECT_EQ(AskFileOverwrite(nullptr, {"Acme Setup", "Overwrite?"}, 2, folder / "data.txt", {}),
            kMrYesToAll);
  EXPECT_TRUE(no_focused);

  // The shared-file question: four buttons, moved, no Cancel.
  int no_left = 0;
  bool cancel_shown = true;
  ModalScript four({{"TfrmMsgBoxFiles", [&](HWND window) {
                       no_left = ChildBounds(ChildWithText(window, "Nein")).left;
                       cancel_shown = Shows(ChildWithText(window, "Cancel"));
                       Press(window, "Nein zu allen");
                     }}});
  OverwriteTexts texts{"Acme Setup", "Remove the shared file?"};
  texts.No = "Nein";
  texts.NoToAll = "Nein zu allen";
  EXPECT_EQ(AskFileAction(nullptr, texts, folder / "data.txt"), kMrNoToAll);
  EXPECT_EQ(no_left, 211);
  EXPECT_FALSE(cancel_shown);

  ModalScript close(
      {{"TfrmMsgBoxFiles", [](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }}});
  EXPECT_EQ(AskFileAction(nullptr, texts, folder / "data.txt"), kMrCancel);
}

std::string Message(int number, bool) {
  switch (number) {
    case 0:
      return "OK";
    case 1:
      return "Cancel";
    case 20:
      return "Disk <disk> not found";
    case 50:
      return "Next disk";
    case 51:
      return "Insert Disk <disk> of Tom & Jerry";
  }
  return "Message " + std::to_string(number);
}

TEST(NeedDiskTest, Disk12WantsSetup012) {
  ScratchFolder folder("disks");
  Shown shown;
  std::string caption;
  bool prompt = false, path = false;
  ModalScript script({{"TfrmNeedDisk", [&](HWND window) {
                         caption = TextOf(window);
                         prompt = ChildWithText(window, "Insert Disk 12 of Tom & Jerry");
                         path = ChildWithText(window, folder.Path());
                         // Not there yet: the dialog says so and stays.
                         SendMessageA(ChildWithText(window, "OK"), BM_CLICK, 0, 0);
                         WriteBytes(folder / "setup.012", 1);
                         Press(window, "OK");
                       }}});
  const std::optional<std::string> chosen =
      AskNextDisk(Recording(shown), Message, "C:\\elsewhere\\setup.exe", 12, folder.Path());
  EXPECT_EQ(chosen, folder.Path());
  EXPECT_EQ(caption, "Next disk");
  EXPECT_TRUE(prompt);
  EXPECT_TRUE(path);
  EXPECT_EQ(shown, (Shown{{"Disk 12 not found", MB_ICONERROR}}));
}

TEST(NeedDiskTest, FirstDiskLooksBesideTheSetupProgram) {
  ScratchFolder folder("first");
  Shown shown;
  WriteBytes(folder / "setup.001", 1);
  std::string path;
  ModalScript ok({{"TfrmNeedDisk", [&](HWND window) {
                     path = TextOf(FindWindowExA(window, nullptr, "Edit", nullptr));
                     Press(window, "OK");
                   }}});
  EXPECT_TRUE(AskFirstDisk(Recording(shown), Message, folder / "setup.exe"));
  EXPECT_EQ(path, folder.Path() + "\\");
  ModalScript cancel({{"TfrmNeedDisk", [](HWND window) { Press(window, "Cancel"); }}});
  EXPECT_FALSE(AskFirstDisk(Recording(shown), Message, folder / "setup.exe"));
  EXPECT_TRUE(shown.empty());
}

TEST(NeedDiskTest, BrowseStartsAtTheNearestFolderAndTakesTheTypedText) {
  ScratchFolder folder("browse");
  Shown shown;
  const std::string missing = folder / "gone\\deeper\\";
  TfrmNeedDisk dialog(Recording(shown), NeedDiskTexts(), "C:\\setup.exe", 2);
  dialog.SetPath(missing);
  std::string tree, typed_box, after;
  bool new_folder = true;
  ModalScript script({
      {"TfrmNeedDisk", [](HWND window) { Press(window, "Browse"); }},
      {"TfrmDirectorySel",
       [&](HWND window) {
         auto* select = dynamic_cast<TfrmDirectorySel*>(TWindow::FromHandle(window));
         tree = select->Tree().Directory();
         HWND edit = FindWindowExA(window, nullptr, "Edit", nullptr);
         typed_box = TextOf(edit);
         new_folder = Shows(ChildWithText(window, "New Folder"));
         SetWindowTextA(edit, "D:\\Typed");
         Press(window, "OK");
       }},
      {"TfrmNeedDisk",
       [&](HWND window) {
         after = dialog.Path();
         Press(window, "Cancel");
       }},
  });
  EXPECT_EQ(dialog.ShowModal(), kMrCancel);
  EXPECT_EQ(tree, folder.Path()) << "the nearest folder that exists";
  EXPECT_EQ(typed_box, missing);
  EXPECT_FALSE(new_folder);
  EXPECT_EQ(after, "D:\\Typed");
  EXPECT_TRUE(shown.empty());
}

TEST(DirectorySelTest, MissingStartFolderKeepsTheTreeAndSaysSo) {
  ScratchFolder folder("select");
  Shown shown;
  TfrmDirectorySel select(Recording(shown));
  HWND edit = FindWindowExA(select.Handle(), nullptr, "Edit", nullptr);
  const std::string before = select.Tree().Directory();
  EXPECT_EQ(TextOf(edit), before) << "no start folder: the tree's folder";
  select.SetStartFolder(folder / "missing");
  EXPECT_EQ(shown, (Shown{{"Invalid or not existent directory.", MB_ICONERROR}}));
  EXPECT_EQ(select.Tree().Directory(), before);
  EXPECT_EQ(TextOf(edit), before);

  select.SetStartFolder(folder.Path());
  EXPECT_EQ(select.Tree().Directory(), folder.Path());
  EXPECT_EQ(TextOf(edit), folder.Path());
  EXPECT_EQ(ChildBounds(edit).right - ChildBounds(edit).left, 177);
  select.SetShowNewFolder(false);
  EXPECT_EQ(ChildBounds(edit).right - ChildBounds(edit).left, 257);
  EXPECT_EQ(shown.size(), 1u);
}

TEST(DirectorySelTest, NewFolderThenOk) {
  ScratchFolder folder("newfolder");
  Shown shown;
  TfrmDirectorySel select(Recording(shown));
  select.SetStartFolder(folder.Path());
  std::string last_entry;
  ModalScript script({
      {"TfrmDirectorySel", [](HWND window) { Press(window, "New Folder"); }},
      {"TfrmNewFolder",
       [](HWND window) {
         SendMessageA(ChildWithText(window, "Add"), BM_CLICK, 0, 0);  // empty: refused
         SetWindowTextA(FindWindowExA(window, nullptr, "Edit", nullptr), "Made");
         Press(window, "Add");
       }},
      {"TfrmDirectorySel",
       [&](HWND window) {
         last_entry = select.Tree().Entries().back().Text;
         SetWindowTextA(FindWindowExA(window, nullptr, "Edit", nullptr), "ignored");
         Press(window, "OK");
       }},
  });
  EXPECT_EQ(select.ShowModal(), kMrOk);
  EXPECT_EQ(script.Done(), 3u);
  EXPECT_EQ(shown,
            (Shown{{"You need to type a value in the field Folder Name.", MB_ICONINFORMATION}}));
  EXPECT_EQ(GetFileAttributesA((folder / "Made").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(last_entry, "Made") << "the tree was read again";
  EXPECT_EQ(select.Directory(), folder.Path()) << "the tree's folder, not the typed text";
}

}  // namespace
}  // namespace kvb
