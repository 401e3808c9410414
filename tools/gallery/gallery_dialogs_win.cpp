// The fixed dialogs in the gallery: buttons that run them as the setup does (with English
// texts), and pictures of each for people to look at.
#include <memory>
#include <string>

#include "base/text.h"
#include "gallery/gallery_win.h"
#include "gallery/window_picture_win.h"
#include "ui/controls/button_win.h"
#include "ui/dialogs/copying_files_win.h"
#include "ui/dialogs/directory_sel_win.h"
#include "ui/dialogs/msg_box_files_win.h"
#include "ui/dialogs/need_disk_win.h"
#include "ui/dialogs/new_folder_win.h"
#include "ui/dialogs/start_ce_connection_win.h"

namespace kvb::gallery {

namespace {

std::string ProgramPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

std::string TempFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

std::string EnglishMessage(int number, bool) {
  switch (number) {
    case 0:
      return "OK";
    case 1:
      return "Cancel";
    case 20:
      return "The data of Disk <disk> was not found.";
    case 46:
      return "Directory Selection";
    case 47:
      return "Directory";
    case 48:
      return "Directories";
    case 49:
      return "Drives";
    case 50:
      return "Setup Needs the Next Disk";
    case 51:
      return "Please insert Disk <disk> and click OK. If the files on this disk can be found in "
             "a folder other than the one displayed below, enter the correct path or click "
             "Browse.";
    case 52:
      return "Path";
    case 57:
      return "Browse";
  }
  return {};
}

// Now as a DOS date (date in the high word, time in the low word).
uint32_t DosNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  FILETIME stamp;
  SystemTimeToFileTime(&now, &stamp);
  WORD date = 0, time = 0;
  FileTimeToDosDateTime(&stamp, &date, &time);
  return (static_cast<uint32_t>(date) << 16) | time;
}

const OverwriteTexts kOverwrite{"Overwrite prompt",
                                "The file gallery.exe exists already. Do you want to replace "
                                "it with the new one?"};
const OverwriteTexts kSharedFile{"Shared file",
                                 "No program uses this shared file any more. Do you want to "
                                 "remove it?"};

DialogContext Context(HWND owner) {
  return {owner, {}, "Control gallery", nullptr};
}

std::unique_ptr<TfrmCopyingFiles> CopyingFiles(HWND owner) {
  auto copying = std::make_unique<TfrmCopyingFiles>(owner, "Copying files");
  copying->ShowStatus(0, "Copying files...", 0);
  copying->ShowStatus(1, "C:\\Program Files\\Acme\\acme.dll", 0);
  copying->ShowStatus(2, "", 40);
  return copying;
}

void ToggleConnectionWait(HWND owner) {
  if (ConnectionWaitWindow()) {
    ShowConnectionWait(false);
    return;
  }
  ShowConnectionWait(
      true, {owner, std::nullopt, "Device wait", "Connect your device to continue the setup."});
}

// Shows the form, saves its picture as FOLDER\NAME.bmp and frees it.
bool SavePicture(std::unique_ptr<TForm> form, const std::string& folder, const char* name) {
  form->Show();
  return SaveWindowPicture(form->Handle(), IncludeTrailingBackslash(folder) + name + ".bmp");
}

}  // namespace

void TfrmGallery::AddDialogButtons() {
  struct Entry {
    const char* caption;
    std::function<void(HWND owner)> open;
  };
  const Entry entries[] = {
      {"Overwrite prompt",
       [](HWND owner) {
         AskFileOverwrite(owner, kOverwrite, kFileInfoBoth, ProgramPath(), {DosNow(), 1996});
       }},
      {"Shared file", [](HWND owner) { AskFileAction(owner, kSharedFile, ProgramPath()); }},
      {"Disk request",
       [](HWND owner) {
         AskNextDisk(Context(owner), EnglishMessage, ProgramPath(), 2,
                     ExtractFilePath(ProgramPath()));
       }},
      {"Folder selection",
       [](HWND owner) {
         TfrmDirectorySel select(Context(owner));
         // New folders go to the temporary folder, not wherever the gallery was started.
         select.SetStartFolder(TempFolder());
         select.ShowModal();
       }},
      {"Copying files",
       [](HWND owner) {
         auto copying = CopyingFiles(owner);
         copying->OnCancel = [form = copying.get()] { form->SetModalResult(kMrCancel); };
         copying->ShowModal();
       }},
      {"Device wait", ToggleConnectionWait},
  };
  int left = 8;
  for (const Entry& entry : entries) {
    auto& button = Own(std::make_unique<TButton>(*this, left, 608, 112, 23, entry.caption));
    button.OnClick = [this, open = entry.open](TWindow&) { open(Handle()); };
    button.Show();
    left += 118;
  }
}

bool SavePictures(TfrmGallery& gallery, const std::string& folder) {
  HWND owner = gallery.Handle();
  bool saved = SaveWindowPicture(owner, IncludeTrailingBackslash(folder) + "gallery-window.bmp");

  auto overwrite = std::make_unique<TfrmMsgBoxFiles>(owner);
  overwrite->SetTexts(kOverwrite);
  overwrite->Arrange(kFileInfoBoth, ProgramPath(), {DosNow(), 1996}, false);
  saved &= SavePicture(std::move(overwrite), folder, "dialog-overwrite");
  auto shared = std::make_unique<TfrmMsgBoxFiles>(owner);
  shared->SetTexts(kSharedFile);
  shared->Arrange(kFileInfoExisting, ProgramPath(), {}, true);
  saved &= SavePicture(std::move(shared), folder, "dialog-shared-file");
  NeedDiskTexts disk;
  disk.Caption = EnglishMessage(50, false);
  auto need_disk = std::make_unique<TfrmNeedDisk>(Context(owner), disk, ProgramPath(), 2);
  need_disk->SetPath(ExtractFilePath(ProgramPath()));
  saved &= SavePicture(std::move(need_disk), folder, "dialog-disk-request");
  auto select = std::make_unique<TfrmDirectorySel>(Context(owner));
  select->SetStartFolder(TempFolder());
  saved &= SavePicture(std::move(select), folder, "dialog-folder-selection");
  saved &=
      SavePicture(std::make_unique<TfrmNewFolder>(Context(owner)), folder, "dialog-new-folder");
  saved &= SavePicture(CopyingFiles(owner), folder, "dialog-copying-files");

  ToggleConnectionWait(owner);
  saved &= SaveWindowPicture(ConnectionWaitWindow()->Handle(),
                             IncludeTrailingBackslash(folder) + "dialog-device-wait.bmp");
  ToggleConnectionWait(owner);
  return saved;
}

}  // namespace kvb::gallery
