// What the start-up sequence needs from the platform: the application object, the files
// and folders of the temporary setup folder, the machine, the loader and splash windows,
// and the script services. kvbsetup.exe implements it with Win32 (setup_program_win.cpp);
// the host tests implement it with fakes that record what the sequence asks for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/folder_creation.h"
#include "base/message_icon.h"
#include "script/script_engine.h"
#include "script/script_services.h"
#include "setupdata/archive_files.h"
#include "setupdata/byte_source.h"
#include "setupdata/records.h"
#include "vars/machine_info.h"
#include "vars/variable_loading.h"

namespace kvb {

struct TSetupGlobals;

// How the main form ended the run.
enum class MainFormEnd {
  kFinished,   // closed as finished (or the package had nothing to show)
  kCancelled,  // closed by the user before the end
  kFailed,     // a requirement failed or the install drive could not be used
};

struct ScreenSize {
  int Width = 0;
  int Height = 0;
};

// Everything the loader window shows, worked out by the sequence.
struct LoaderLook {
  std::string Caption;  // window text (never shown: the window has no frame)
  std::string Title;    // top line; a single '&' marks a mnemonic, "&&" shows '&'
  std::string Message;  // centred, word-wrapped below it; '&' as in Title
  TFontRecord Font;     // of both lines; an empty face means the system's default face
  int Left = 0;         // screen position of the window's top-left corner
  int Top = 0;
};

// A window shown during start-up; destroying the object closes the window.
class StartupForm {
 public:
  virtual ~StartupForm() = default;
};

class StartupHost {
 public:
  virtual ~StartupHost() = default;

  // --- the application ---
  // The application title: caption of every message box and of the application window.
  virtual void SetTitle(const std::string& title) = 0;
  virtual std::string Title() const = 0;
  // A modal message box with an OK button, the current title as caption, owned by the
  // application window. Returns when the user has closed it.
  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
  // Opens the running program's own file for reading (deny-write sharing); nullptr
  // when it cannot be opened.
  virtual std::unique_ptr<ByteSource> OpenOwnFile() = 0;

  // --- files and folders ---
  // The system's temporary folder, with or without a trailing backslash.
  virtual std::string TempFolder() = 0;
  // Creates the run's temporary folder and its missing parents and says whether this
  // call created it. When the process runs elevated, only administrators and the system
  // may write into the folder; it stays in place (cannot be moved or replaced) until
  // RemoveFolderTree removes it.
  virtual FolderCreation CreateFolder(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;  // false for folders
  // Deletes a file, read-only or not; false when it cannot.
  virtual bool DeleteFile(const std::string& path) = 0;
  // Removes the folder with everything in it; folders reached through links are
  // removed as links, never entered.
  virtual void RemoveFolderTree(const std::string& path) = 0;
  // The files the archive reader writes the temporary files through.
  virtual std::unique_ptr<ArchiveFiles> CreateArchiveFiles() = 0;

  // --- the machine ---
  // The facts behind the built-in variables; lives as long as the host.
  virtual MachineInfo& Machine() = 0;
  // The registry behind the package variables' defaults; lives as long as the host.
  virtual RegistryReader& Registry() = 0;
  virtual bool IsActiveSyncPresent() = 0;
  // HotSync as found when the program started: whether it is there, the user to
  // install for by default ("" without users) and the HotSync program's folder.
  virtual bool IsHotSyncPresent() = 0;
  virtual std::string DefaultHotSyncUser() = 0;
  virtual std::string HotSyncFolder() = 0;
  // Handles for %SetupHandle% and %ActiveDialogHandle% (0 when there is none).
  virtual uintptr_t ApplicationHandle() = 0;
  virtual uintptr_t ActiveWindowHandle() = 0;
  // Prompt, registry, system, DLL calls, the Windows CE device (matched against the
  // package's `platforms`) and the HotSync users of this machine for the script engine,
  // and the engine options that depend on the machine (random seed, decimal separator).
  virtual ScriptServices CreateScriptServices(const std::vector<TSetupPlatform>& platforms) = 0;
  virtual ScriptEngineOptions ScriptOptions() = 0;

  // --- start-up windows ---
  virtual ScreenSize Screen() = 0;
  // Shows the loader window at once (painted before this returns).
  virtual std::unique_ptr<StartupForm> ShowLoader(const LoaderLook& look) = 0;
  // Shows the bitmap file in a window with the given caption, centred on the screen;
  // nullptr when the file cannot be loaded as a bitmap.
  virtual std::unique_ptr<StartupForm> ShowSplash(const std::string& bitmap_file,
                                                  const std::string& caption) = 0;
  // Waits while keeping the windows painted.
  virtual void Wait(unsigned milliseconds) = 0;

  // --- the main form ---
  // Creates the wizard over the run's package and variables and runs the message loop
  // until it closes.
  virtual MainFormEnd RunMainForm(TSetupGlobals& globals) = 0;
};

}  // namespace kvb
