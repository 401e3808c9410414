// The facts about the machine behind the built-in variables, as an interface: the Win32
// implementation (`WindowsMachine`) answers from the system, tests answer with fixed facts.
#pragma once

#include <cstdint>
#include <string>

namespace kvb {

// Folders that the machine reports. The texts are returned as the system gives them
// (a trailing backslash may be present); the expansion removes one where it should.
enum class MachineFolder : uint8_t {
  kWindows,
  kSystem,
  kProgramFiles,
  kCommonFiles,
  kFonts,
  kDocuments,
  kActiveSync,  // CE Application Manager folder, else program files + "Microsoft ActiveSync\"
  kSource,      // folder of the running setup program
  kDotNet,      // framework folder holding "mscorcfg.dll" (with a trailing backslash), or ""
};

// Shell folder kinds; the index into the per-user / all-users folder table.
enum class ShellFolderKind : uint8_t {
  kDesktop = 0,
  kStartMenu = 1,
  kPrograms = 2,
  kStartUp = 3,
  kSendTo = 4,
  kFonts = 5,
  kTemplates = 6,
  kFavorites = 7,
};
inline constexpr int kShellFolderKindCount = 8;

// Facts the machine reports as ready texts.
enum class MachineFact : uint8_t {
  kIsAdmin,            // "1" / "0"
  kIsNT,               // "1" / "0"
  kOSVersion,          // "major.minor.build"
  kOSMajorVersion,     // decimal
  kOSMinorVersion,     // decimal
  kColorDepth,         // bits per pixel of the screen
  kScreenHeight,       // pixels
  kScreenWidth,        // pixels
  kRAMMemory,          // physical memory in units of 1,000,000 bytes
  kIsDotNetInstalled,  // "1" / "0"
  kDotNetVersion,      // "a.b.c.d" or "0.0"
  kActiveSyncVersion,  // "major.minor" or "0.0"
};

// The local date and time and the user's date separator.
struct LocalClock {
  int Year = 0;
  int Month = 0;
  int Day = 0;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  std::string DateSeparator = "/";
};

class MachineInfo {
 public:
  virtual ~MachineInfo() = default;
  virtual std::string Folder(MachineFolder folder) = 0;
  // The all-users folder when `all_users` is set and the user may use it, else the
  // per-user one; "" when the folder does not exist.
  virtual std::string ShellFolder(bool all_users, ShellFolderKind kind) = 0;
  virtual std::string Fact(MachineFact fact) = 0;
  virtual LocalClock Now() = 0;
  // Command-line argument `index` (0 = the program's own path); "" when out of range.
  virtual std::string CommandLineArgument(int index) = 0;
};

}  // namespace kvb
