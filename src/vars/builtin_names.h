// The built-in variable names, in the order in which the expansion replaces them, and
// the text forms of the clock values.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "vars/machine_info.h"

namespace kvb {

enum class Builtin : uint8_t {
  // Names.
  kSoftwareName,
  kCompanyName,
  // Folders.
  kTempSetupDir,
  kWinDir,
  kHelpDir,
  kProgramFilesDir,
  kFontsDir,
  kActiveSyncDir,
  kSysDir,
  kCommonFilesDir,
  kWinDrive,
  kMyDocumentsDir,
  kHotSyncDir,
  kProgramsDir,
  kStartUpDir,
  kDesktopDir,
  kStartMenuDir,
  kProgramGroupDir,
  kSourceDir,
  kDotNetDir,
  // Computed on every use.
  kIsAdmin,
  kIsNT,
  kOSVersion,
  kOSMajorVersion,
  kOSMinorVersion,
  kColorDepth,
  kCurrentDay,
  kCurrentHour,
  kCurrentMinute,
  kCurrentMonth,
  kCurrentSecond,
  kCurrentYear,
  kDate,
  kEuropeanDate,
  kISODate,
  kScreenHeight,
  kScreenWidth,
  kRAMMemory,
  kSetupHandle,
  kActiveDialogHandle,
  kIsActiveSyncInstalled,
  kIsHotSyncInstalled,
  kIsDotNetInstalled,
  kDotNetVersion,
  kActiveSyncVersion,
  kCmdLineParam,
};

struct BuiltinName {
  std::string_view name;  // with its delimiters
  Builtin id;
};

// Every built-in name, in replacement order.
std::span<const BuiltinName> BuiltinNames();

bool IsFolderBuiltin(Builtin id);
bool IsClockBuiltin(Builtin id);
// The computed built-in that the whole text names (case-insensitively), if any.
std::optional<Builtin> FindComputedName(std::string_view text);

// "dd", "hh", "nn", "mm", "ss", "yyyy" and the three dates, with the clock's separator
// in place of '/'. `id` must be a clock built-in.
std::string FormatClock(Builtin id, const LocalClock& clock);

// The drive part of a path: "C:" for "C:\Windows", "\\server\share" for a UNC path,
// "" otherwise.
std::string ExtractFileDrive(std::string_view path);

}  // namespace kvb
