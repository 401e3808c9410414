// The machine facts of a Windows system behind the built-in variables, with the caches
// that keep folder, version and shell-folder answers for the whole run. Other
// subsystems use the queries directly (the Windows and fonts folders, the ActiveSync
// folder, colour depth and memory for the minimum requirements).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "vars/machine_info.h"

namespace kvb {

enum class OSVersionPart : uint8_t {
  kPacked = 0,  // major << 24 | (minor & 0xFF) << 16 | (build & 0xFFFF)
  kMajor = 1,
  kMinor = 2,
  kBuild = 3,        // as the system reports it
  kServicePack = 4,  // major << 8 | minor
};

struct WindowsMachineOptions {
  // The command line that %CmdLineParam% reads; the process's own when unset.
  std::optional<std::string> CommandLine;
  // Replaces the administrator test (computed once, at construction, otherwise).
  std::optional<bool> IsAdmin;
};

class WindowsMachine final : public MachineInfo {
 public:
  explicit WindowsMachine(WindowsMachineOptions options = {});

  std::string Folder(MachineFolder folder) override;
  std::string ShellFolder(bool all_users, ShellFolderKind kind) override;
  std::string Fact(MachineFact fact) override;
  LocalClock Now() override;
  std::string CommandLineArgument(int index) override;

  // Folders, each computed once; "" when the system does not name one.
  std::string GetTempFolder();
  std::string GetWindowsFolder();
  std::string GetSystemFolder();
  // "ProgramFilesDir" / "CommonFilesDir" of the CurrentVersion key, machine then user.
  std::string GetProgramFilesFolder();
  std::string GetCommonFilesFolder();
  // "Fonts" / "Personal" of the "Shell Folders" key, machine then user.
  std::string GetFontsFolder();
  std::string GetDocumentsFolder();
  // The CE Application Manager's folder, else program files + "Microsoft ActiveSync\".
  std::string GetActiveSyncFolder();
  // The all-users folder only for administrators, and the per-user one when the
  // all-users folder does not exist. No trailing backslash except on a drive root.
  std::string GetShellFolder(bool all_users, ShellFolderKind kind);

  // Asked anew on every call.
  std::string GetProgramPath();   // full path of the running program
  std::string GetSourceFolder();  // its folder, with a trailing backslash
  std::string GetDotNetFolder();  // framework folder holding "mscorcfg.dll", or ""
  bool IsDotNetInstalled();
  std::string GetDotNetVersion();      // file version of "mscorcfg.dll", or "0.0"
  std::string GetActiveSyncVersion();  // "major.minor", or "0.0"
  int GetColorDepth();
  int GetScreenWidth();
  int GetScreenHeight();
  uint64_t GetRamMegabytes();  // total physical memory / 1,000,000 (0 when unknown)

  uint32_t GetOSVersionPart(OSVersionPart part);  // cached; 0 when the system does not say
  bool IsNT();
  bool IsAdmin() const { return is_admin_; }

 private:
  enum FolderSlot {
    kTemp,
    kWindows,
    kSystem,
    kProgramFiles,
    kCommonFiles,
    kFonts,
    kDocuments,
    kActiveSync,
    kFolderSlotCount
  };
  std::string CachedFolder(FolderSlot slot);
  std::string ComputeFolder(FolderSlot slot);
  std::string ComputeActiveSyncFolder();
  std::string ComputeShellFolder(bool all_users, ShellFolderKind kind);
  void LoadOSVersion();

  bool is_admin_;
  std::optional<std::string> command_line_;
  std::array<std::optional<std::string>, kFolderSlotCount> folders_;
  std::array<std::array<std::optional<std::string>, kShellFolderKindCount>, 2> shell_folders_;
  std::array<std::optional<uint32_t>, 5> os_version_;
  std::optional<bool> is_nt_;
};

// Whether ActiveSync is installed: the CE Application Manager's "App Paths" key opens
// for reading and its unnamed value reads as a string.
bool IsActiveSyncPresent();

// True on Windows 95/98/Me; on Windows NT when the service control manager opens with
// read, write and execute rights.
bool ComputeIsAdmin();

}  // namespace kvb
