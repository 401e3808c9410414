// The Win32 machine behind the script commands, under Wine: registry, shortcuts, processes,
// windows, file versions and DLL calls.
#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "../script_fakes.h"
#include "base/system_library_win.h"
#include "base/text.h"
#include "script/script_engine.h"
#include "script/script_services_win.h"
#include "vars/win_test_support.h"

namespace kvb {
namespace {

std::string ProgramFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return ExtractFilePath(path);
}

class ScriptWinTest : public ::testing::Test {
 protected:
  ScriptWinTest() : engine_(vars_, CreateWin32ScriptServices(nullptr)) {
    CoInitialize(nullptr);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "kvbscript" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    vars_.SetVariable("%Here%", ProgramFolder());
    vars_.SetVariable("%Tmp%", folder_);
    vars_.SetVariable("%Key%", key_);
  }
  ~ScriptWinTest() override {
    SHDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
    SHDeleteKeyA(HKEY_CLASSES_ROOT, key_.c_str());
    WIN32_FIND_DATAA found;
    const HANDLE find = FindFirstFileA((folder_ + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileA((folder_ + "\\" + found.cFileName).c_str());
      } while (FindNextFileA(find, &found));
      FindClose(find);
    }
    RemoveDirectoryA(folder_.c_str());
    CoUninitialize();
  }

  bool Run(const std::vector<Line>& lines) { return engine_.ExecuteScript(MakeScript(lines)); }
  std::string Value(const std::string& name) { return vars_.ExpandText(name); }

  Variables vars_;
  TScriptEngine engine_;
  std::string folder_;
  const std::string key_ = "Software\\KvbScriptTest" + std::to_string(GetCurrentProcessId());
};

TEST_F(ScriptWinTest, RegistryTypesAndPersistingRoot) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, key_.c_str(), &key), ERROR_SUCCESS);
  RegSetValueExA(key, "Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("%TEMP%"), 7);
  RegCloseKey(key);
  Run({{"WRITEREG", {"HKEY_CURRENT_USER", "\\%Key%\\", "Number", "12"}},
       {"WRITEREG", {"", "%Key%", "Text", "12a"}},
       {"WRITEREG", {"", "%Key%\\Sub", "Gone", "x"}},
       {"READREG", {"%Number%", "", "%Key%", "Number", "d"}},
       {"READREG", {"%Text%", "", "%Key%", "Text", "d"}},
       {"READREG", {"%Expand%", "", "%Key%", "Expand", "default"}},
       {"READREG", {"%Missing%", "", "%Key%\\None", "Text", "default"}},
       {"DELETEREG", {"", "%Key%", "Text"}},
       {"DELETEREG", {"", "%Key%\\Sub", ""}},
       {"WRITEREG", {"HKEY_CLASSES_ROOT", "%Key%", "Root", "r"}},
       {"READREG", {"%Root%", "", "%Key%", "Root", "d"}}});
  EXPECT_EQ(Value("%Number%|%Text%|%Expand%|%Missing%|%Root%"), "12|12a|default|default|r");
  DWORD type = 0, number = 0, size = sizeof number;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(
      RegQueryValueExA(key, "Number", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size),
      ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(number, 12u);
  EXPECT_NE(RegQueryValueExA(key, "Text", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  HKEY sub;
  EXPECT_NE(RegOpenKeyExA(key, "Sub", 0, KEY_READ, &sub), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(ScriptWinTest, ReadRegReadsKeysTheUserCannotWrite) {
  ASSERT_TRUE(Run({{"WRITEREG", {"HKEY_CURRENT_USER", "%Key%", "Text", "kept"}}}));
  ReadOnlyKey read_only(HKEY_CURRENT_USER, key_);
  ASSERT_TRUE(read_only.ok());
  Run({{"READREG", {"%Text%", "HKEY_CURRENT_USER", "%Key%", "Text", "default"}}});
  EXPECT_EQ(Value("%Text%"), "kept");
}

TEST_F(ScriptWinTest, ShortcutReadBackThroughTheShellLink) {
  Run({{"SHORTCUT", {"%Tmp%", "Tool", "%Here%tool.exe", "-a b", "%Tmp%"}}});
  const std::string link_path = folder_ + "\\Tool.lnk";
  IShellLinkA* link = nullptr;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkA, reinterpret_cast<void**>(&link))));
  IPersistFile* file = nullptr;
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, link_path.c_str(), -1, wide, MAX_PATH);
  ASSERT_TRUE(SUCCEEDED(file->Load(wide, STGM_READ)));
  char text[MAX_PATH];
  link->GetPath(text, MAX_PATH, nullptr, 0);
  EXPECT_TRUE(SameText(ExtractFileName(text), "tool.exe")) << text;
  link->GetArguments(text, MAX_PATH);
  EXPECT_STREQ(text, "-a b");
  link->GetWorkingDirectory(text, MAX_PATH);
  EXPECT_TRUE(SameText(text, folder_)) << text;
  file->Release();
  link->Release();
  // The show command is read from the file itself (offset 0x3C of the header).
  std::ifstream in(link_path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  in.close();
  ASSERT_GT(bytes.size(), 0x40u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0x3C]), SW_SHOW);

  Run({{"DELETESHORTCUT", {"%Tmp%\\", "Tool"}}});
  EXPECT_EQ(GetFileAttributesA(link_path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ScriptWinTest, RunWaitsForTheProgram) {
  const std::string marker = folder_ + "\\ran.txt";
  Run({{"RUN", {"%Here%script_test_child.exe", "\"%Tmp%\\ran.txt\"", "1"}},
       {"FILEINFO", {"%Ran%", "%Tmp%\\ran.txt", "EXISTENCE"}}});
  EXPECT_EQ(Value("%Ran%"), "1");
}

// A program named without a folder comes from the system's folders: not from the
// program's own folder, where a download folder may hold anything.
TEST_F(ScriptWinTest, RunTakesBareNamesFromTheSystemOnly) {
  Run({{"RUN", {"script_test_child.exe", "\"%Tmp%\\beside.txt\"", "1"}},
       {"FILEINFO", {"%Beside%", "%Tmp%\\beside.txt", "EXISTENCE"}},
       {"RUN", {"cmd", "/c echo x>\"%Tmp%\\system.txt\"", "1"}},
       {"FILEINFO", {"%System%", "%Tmp%\\system.txt", "EXISTENCE"}}});
  EXPECT_EQ(Value("%Beside%|%System%"), "0|1");
}

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_CLOSE) {
    *reinterpret_cast<UINT*>(GetWindowLongPtrA(window, GWLP_USERDATA)) = WM_CLOSE;
    DestroyWindow(window);
    return 0;
  }
  return DefWindowProcA(window, message, w, l);
}

HWND CreateTestWindow(const char* window_class, const char* title, UINT* last_message) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = TestWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = window_class;
  RegisterClassA(&wc);
  HWND window = CreateWindowA(window_class, title, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(last_message));
  return window;
}

// Dispatches pending messages; true when a WM_QUIT came.
bool Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT)
      return true;
    DispatchMessageA(&msg);
  }
  return false;
}

TEST_F(ScriptWinTest, WindowExistsAndCloseWindow) {
  UINT last = 0;
  HWND window = CreateTestWindow("KvbScriptTestClass", "Kvb Test Window", &last);
  ASSERT_NE(window, nullptr);
  Run({{"WINDOWEXISTS", {"%ByClass%", "KvbScriptTestClass", ""}},
       {"WINDOWEXISTS", {"%ByTitle%", "", "Kvb Test Window"}},
       {"WINDOWEXISTS", {"%Both%", "KvbScriptTestClass", "Kvb Test Window"}},
       {"WINDOWEXISTS", {"%Wrong%", "KvbScriptTestClass", "Other"}}});
  EXPECT_EQ(Value("%ByClass%|%ByTitle%|%Both%|%Wrong%"), "1|1|1|0");

  Run({{"CLOSEWINDOW", {"KvbScriptTestClass", "", "1"}}});
  EXPECT_TRUE(Pump());  // WM_QUIT reached this thread's queue
  EXPECT_TRUE(IsWindow(window));
  Run({{"CLOSEWINDOW", {"", "Kvb Test Window", "0"}}});
  Pump();
  EXPECT_EQ(last, static_cast<UINT>(WM_CLOSE));
  Run({{"WINDOWEXISTS", {"%After%", "KvbScriptTestClass", ""}}});
  EXPECT_EQ(Value("%After%"), "0");
}

TEST_F(ScriptWinTest, FileInfoVersion) {
  Run({{"FILEINFO", {"%Version%", "%Here%script_test_dll.dll", "VERSION"}},
       {"FILEINFO", {"%None%", "%Here%script_test_nofree.dll", "VERSION"}},
       {"FILEINFO", {"%Missing%", "%Here%missing.dll", "VERSION"}},
       {"FILEINFO", {"%Size%", "%Here%script_test_dll.dll", "SIZE"}}});
  EXPECT_EQ(Value("%Version%|%None%|%Missing%"), "1.2.3.4|0.0.0.0|0.0.0.0");
  EXPECT_GT(std::stoi(Value("%Size%")), 0);
}

TEST_F(ScriptWinTest, DllCalls) {
  struct Case {
    const char* library;
    const char* function;
    const char* type;
    const char* arguments;
    const char* result;
  } cases[] = {
      {"script_test_dll.dll", "StdOrder", "INTEGER", "1, 2, 3", "123"},
      {"script_test_dll.dll", "CdeclOrder", "INTEGER", "4, 5, 6", "456"},
      {"script_test_dll.dll", "StdOrder", "INTEGER", "1, 2, 3, 4, 5", "123"},  // extra words
      {"script_test_dll.dll", "CdeclOrder", "INTEGER", "7, 8, 9, 10", "789"},
      {"script_test_dll.dll", "NoArguments", "anything", "", "42"},
      {"script_test_dll.dll", "MinusOne", "INTEGER", "", "-1"},
      {"script_test_dll.dll", "Length", "INTEGER", "\"four\"", "4"},
      {"script_test_dll.dll", "Greet", "STRING", "\", you\", 2", "Hello, you, you"},
      {"script_test_dll.dll", "NullText", "STRING", "", ""},
      {"script_test_nofree.dll", "StaticText", "STRING", "", "static text"},
      {"script_test_dll.dll", "Crash", "INTEGER", "", "ERROR"},
      {"script_test_dll.dll", "Crash", "STRING", "", "ERROR"},
      {"script_test_dll.dll", "Raise", "INTEGER", "", "ERROR"},
      {"script_test_dll.dll", "BadText", "STRING", "", "ERROR"},
      {"script_test_dll.dll", "NotExported", "INTEGER", "", "ERROR"},
      {"no_such_library.dll", "Anything", "STRING", "", "ERROR"},
  };
  for (const Case& c : cases) {
    vars_.SetVariable("%ErrorCode%", "0");
    Run({{"DLLCALL", {std::string("%Here%") + c.library, c.function, c.type, c.arguments}}});
    const bool failed = std::string(c.result) == "ERROR";
    EXPECT_EQ(Value("%DLLResult%"), c.result) << c.function;
    EXPECT_EQ(Value("%ErrorCode%"), failed ? "2" : "0") << c.function;
  }
  // After the faults the process still calls functions normally.
  Run({{"DLLCALL", {"%Here%script_test_dll.dll", "StdOrder", "INTEGER", "9, 9, 9"}}});
  EXPECT_EQ(Value("%DLLResult%"), "999");
}

// With the search restricted as in the setup, a library named by its full path (one the
// setup extracted into its temporary folder) loads, and the helper library it imports
// comes from its own folder, not from the program's.
TEST_F(ScriptWinTest, LibraryByFullPathTakesItsHelperFromItsOwnFolder) {
  RestrictDllSearchPath();
  for (const char* name : {"script_test_dependent.dll", "script_test_nofree.dll"}) {
    ASSERT_TRUE(
        CopyFileA((ProgramFolder() + name).c_str(), (folder_ + "\\" + name).c_str(), FALSE));
  }
  Run({{"DLLCALL", {"%Tmp%\\script_test_dependent.dll", "HelperPath", "STRING", ""}}});
  EXPECT_TRUE(SameText(Value("%DLLResult%"), folder_ + "\\script_test_nofree.dll"))
      << Value("%DLLResult%");
  // A bare name is looked for in the system folder only: not beside the program.
  Run({{"DLLCALL", {"script_test_nofree.dll", "StaticText", "STRING", ""}}});
  EXPECT_EQ(Value("%DLLResult%"), "ERROR");
  Run({{"DLLCALL", {"user32.dll", "GetSystemMetrics", "INTEGER", "0"}}});
  EXPECT_GT(std::stoi(Value("%DLLResult%")), 0);
}

TEST_F(ScriptWinTest, StringResultsAreReleasedByTheLibrary) {
  SetEnvironmentVariableA("KVB_FREED", nullptr);
  Run({{"DLLCALL", {"%Here%script_test_dll.dll", "Greet", "STRING", "\"!\", 1"}}});
  char allocated[32] = {}, freed[32] = {};
  GetEnvironmentVariableA("KVB_ALLOCATED", allocated, sizeof allocated);
  GetEnvironmentVariableA("KVB_FREED", freed, sizeof freed);
  EXPECT_EQ(Value("%DLLResult%"), "Hello!");
  EXPECT_STRNE(allocated, "");
  EXPECT_STREQ(allocated, freed);
  // The library is unloaded after every call.
  EXPECT_EQ(GetModuleHandleA("script_test_dll.dll"), nullptr);
}

}  // namespace
}  // namespace kvb
