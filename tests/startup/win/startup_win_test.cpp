// The Win32 side of start-up: the loader and splash windows, the program's loader bitmap,
// the files of the temporary folder and the waiting that keeps windows answering.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "base/file_attributes_win.h"
#include "base/text.h"
#include "setupdata/package_reader.h"
#include "startup/loader_form_win.h"
#include "startup/splash_form_win.h"
#include "startup/startup_files_win.h"
#include "startup/startup_host_win.h"
#include "startup/startup_layout.h"
#include "startup/temp_file_extractor.h"
#include "startup/test_package.h"

namespace kvb {
namespace {

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

// A fresh folder under the temporary folder, removed with its content.
class ScratchFolder {
 public:
  ScratchFolder() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "kvb-startup-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter_);
    RemoveFolderTreeWin(path_);
  }
  ~ScratchFolder() { RemoveFolderTreeWin(path_); }
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  static inline int counter_ = 0;
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A 24-bit bitmap file of the given size.
std::string BitmapFile(int width, int height) {
  const int row = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + row * height;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
  bytes.append(static_cast<size_t>(row * height), '\x40');
  return bytes;
}

LoaderLook Look() {
  LoaderLook look;
  look.Caption = "Demo Setup";
  look.Title = "Tom && Jerry Setup";
  look.Message = "Acme Tom && Jerry Setup is starting, please wait...";
  look.Font = {"Courier New", 8, 0x00FFFFFF, 1, 0};
  look.Left = 100;
  look.Top = 120;
  return look;
}

TEST(StartupWindowsTest, LoaderForm) {
  HWND window = nullptr;
  {
    TfrmSetupLoader loader(GetModuleHandleA(nullptr), nullptr, Look());
    window = loader.Handle();
    ASSERT_TRUE(window);
    EXPECT_EQ(ClassOf(window), "TfrmSetupLoader");
    EXPECT_EQ(TextOf(window), "Demo Setup");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) << "borderless";
    const RECT r = WindowRect(window);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 120);
    EXPECT_EQ(r.right - r.left, kLoaderWidth);
    EXPECT_EQ(r.bottom - r.top, kLoaderHeight);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(window, GCLP_HCURSOR)),
              LoadCursorA(nullptr, IDC_WAIT));

    HWND title = GetDlgItem(window, TfrmSetupLoader::kTitleId);
    HWND message = GetDlgItem(window, TfrmSetupLoader::kMessageId);
    ASSERT_TRUE(title && message);
    EXPECT_EQ(TextOf(title), "Tom && Jerry Setup");
    EXPECT_EQ(TextOf(message), "Acme Tom && Jerry Setup is starting, please wait...");
    EXPECT_TRUE(GetWindowLongA(message, GWL_STYLE) & SS_CENTER);
    LOGFONTA font{};
    ASSERT_TRUE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(title, WM_GETFONT, 0, 0)),
                           sizeof(font), &font));
    EXPECT_STREQ(font.lfFaceName, "Courier New");
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_FALSE(font.lfItalic);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);

    // The user cannot close it.
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
  }
  EXPECT_FALSE(IsWindow(window)) << "destroyed with the form";
}

TEST(StartupWindowsTest, LoaderFontWithTheSystemsFace) {
  LoaderLook look = Look();
  look.Font.FaceName.clear();
  TfrmSetupLoader loader(GetModuleHandleA(nullptr), nullptr, look);
  LOGFONTA font{}, system{};
  GetObjectA(
      reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(loader.Handle(), 1), WM_GETFONT, 0, 0)),
      sizeof(font), &font);
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(system), &system);
  EXPECT_STREQ(font.lfFaceName, system.lfFaceName);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
}

TEST(StartupWindowsTest, ProgramCarriesTheLoaderBitmap) {
  HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), "Loader");
  ASSERT_TRUE(bitmap);
  BITMAP info{};
  GetObjectA(bitmap, sizeof(info), &info);
  EXPECT_EQ(info.bmWidth, kLoaderWidth);
  EXPECT_EQ(info.bmHeight, kLoaderHeight);
  DeleteObject(bitmap);
}

TEST(StartupWindowsTest, SplashForm) {
  ScratchFolder folder;
  CreateFolderWithParents(folder.Path());
  WriteFile(folder / "splash.bmp", BitmapFile(241, 91));
  WriteFile(folder / "text.bmp", "not a bitmap");
  const ScreenSize screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  HINSTANCE instance = GetModuleHandleA(nullptr);

  auto splash =
      TfrmSplashBitmapForm::Show(instance, nullptr, folder / "splash.bmp", "Demo Setup", screen);
  ASSERT_TRUE(splash);
  HWND window = splash->Handle();
  EXPECT_EQ(ClassOf(window), "TfrmSplashBitmapForm");
  EXPECT_EQ(TextOf(window), "Demo Setup");
  EXPECT_TRUE(IsWindowVisible(window));
  // A borderless picture on top of other windows: no caption bar, no close box.
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_BORDER));
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 241);
  EXPECT_EQ(client.bottom, 91);
  const RECT r = WindowRect(window);
  EXPECT_EQ(r.right - r.left, 241);
  EXPECT_EQ(r.bottom - r.top, 91);
  const ScreenPoint centred = CentredOrigin(screen, r.right - r.left, r.bottom - r.top);
  EXPECT_EQ(r.left, centred.Left);
  EXPECT_EQ(r.top, centred.Top);
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(IsWindowVisible(window)) << "closing hides it";

  EXPECT_FALSE(TfrmSplashBitmapForm::Show(instance, nullptr, folder / "text.bmp", "", screen));
  EXPECT_FALSE(TfrmSplashBitmapForm::Show(instance, nullptr, folder / "none.bmp", "", screen));
}

TEST(StartupFilesTest, FoldersAndFiles) {
  ScratchFolder scratch;
  const std::string nested = scratch / "a\\b";
  EXPECT_EQ(CreateFolderWithParents(nested), FolderCreation::kCreated);
  EXPECT_EQ(CreateFolderWithParents(nested + "\\"), FolderCreation::kExisted);
  WriteFile(scratch / "a\\file", "x");
  EXPECT_EQ(CreateFolderWithParents(scratch / "a\\file"), FolderCreation::kExisted);
  EXPECT_EQ(CreateFolderWithParents(scratch / "a\\file\\c"), FolderCreation::kFailed);
  EXPECT_TRUE(IsFile(scratch / "a\\file"));
  EXPECT_FALSE(IsFile(nested));
  EXPECT_TRUE(IsFolder(nested));
  EXPECT_FALSE(IsFolder(scratch / "a\\file"));

  const std::string locked = nested + "\\locked.txt";
  WriteFile(locked, "y");
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  WriteFile(nested + "\\other.txt", "z");
  EXPECT_TRUE(DeleteFileForced(nested + "\\other.txt"));
  EXPECT_FALSE(DeleteFileForced(nested + "\\other.txt"));

  RemoveFolderTreeWin(scratch.Path() + "\\");
  EXPECT_EQ(GetFileAttributesA(scratch.Path().c_str()), INVALID_FILE_ATTRIBUTES)
      << "the read-only file went with the tree";
  RemoveFolderTreeWin(scratch.Path());  // gone already: nothing happens
  RemoveFolderTreeWin("");
}

// The run's temporary folder (with its missing parents) stays in place while the run uses
// it, so its path always leads to the run's files; removing it at the end lets go first.
TEST(StartupFilesTest, TemporaryFolderIsHeldUntilRemoved) {
  ScratchFolder scratch;
  TApplication application(GetModuleHandleA(nullptr));
  WinStartupHost host(GetModuleHandleA(nullptr), application);
  const std::string folder = scratch / "temp\\kvb001";
  ASSERT_EQ(host.CreateFolder(folder), FolderCreation::kCreated);
  EXPECT_EQ(host.CreateFolder(folder), FolderCreation::kExisted);
  EXPECT_FALSE(MoveFileA(folder.c_str(), (scratch / "temp\\moved").c_str()));
  WriteFile(folder + "\\file.txt", "x");
  host.RemoveFolderTree(folder + "\\");
  EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A temporary file whose target exists and cannot be replaced (read-only, or held open
// by another program) stops the extraction; the file is neither put on the list of
// files the run removes at its end nor touched in any other way.
TEST(StartupFilesTest, TargetsTheReaderKeepsAreNeverRemoved) {
  ScratchFolder scratch;
  CreateFolderWithParents(scratch.Path());
  const std::string read_only = scratch / "read-only.dll";
  WriteFile(read_only, "the user's");
  SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string locked = scratch / "locked.dll";
  WriteFile(locked, "in use");
  HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);

  for (const std::string& target : {read_only, locked}) {
    SCOPED_TRACE(target);
    test::TestPackage package;
    package.temp_files = {{ExtractFileName(target), "MZ new", scratch.Path() + "\\"}};
    const std::string bytes = package.Bytes();
    MemorySource source(bytes);
    const TSetupPackage read = ReadPackage(source);
    Variables vars;
    std::vector<std::string> list;
    TTempFileExtractor extractor(vars, read.Data.TempFiles, list, "", MakePlatformArchiveFiles());
    EXPECT_THROW(extractor.ExtractTempFiles(source, read.Header, TempFilePass::kOtherFiles),
                 TempFileError);
    EXPECT_TRUE(list.empty());
    for (const std::string& file : list)  // what the end of the run would do
      DeleteFileForced(file);
  }
  CloseHandle(holder);
  EXPECT_EQ(FileText(read_only), "the user's");
  EXPECT_EQ(FileText(locked), "in use");
  SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_NORMAL);
}

int timer_calls = 0;
void CALLBACK CountTimer(HWND, UINT, UINT_PTR, DWORD) {
  ++timer_calls;
}

TEST(StartupWaitTest, WaitingDispatchesMessages) {
  timer_calls = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, CountTimer);
  const DWORD start = GetTickCount();
  WaitDispatchingMessages(100);
  KillTimer(nullptr, timer);
  EXPECT_GE(GetTickCount() - start, 90u);
  EXPECT_GE(timer_calls, 1) << "the timer's messages were dispatched";

  // A quit request ends the wait at once and stays for the message loop.
  PostQuitMessage(3);
  const DWORD quit_start = GetTickCount();
  WaitDispatchingMessages(5000);
  EXPECT_LT(GetTickCount() - quit_start, 2000u);
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
}

}  // namespace
}  // namespace kvb
