#include "vars/builtin_names.h"

#include <algorithm>
#include <array>

#include "base/text.h"

namespace kvb {

namespace {

constexpr std::array<BuiltinName, 46> kBuiltinNames = {{
    {"%SoftwareName%", Builtin::kSoftwareName},
    {"%CompanyName%", Builtin::kCompanyName},
    {"%TempSetupDir%", Builtin::kTempSetupDir},
    {"%WinDir%", Builtin::kWinDir},
    {"%HelpDir%", Builtin::kHelpDir},
    {"%ProgramFilesDir%", Builtin::kProgramFilesDir},
    {"%FontsDir%", Builtin::kFontsDir},
    {"%ActiveSyncDir%", Builtin::kActiveSyncDir},
    {"%SysDir%", Builtin::kSysDir},
    {"%CommonFilesDir%", Builtin::kCommonFilesDir},
    {"%WinDrive%", Builtin::kWinDrive},
    {"%MyDocumentsDir%", Builtin::kMyDocumentsDir},
    {"%HotSyncDir%", Builtin::kHotSyncDir},
    {"%ProgramsDir%", Builtin::kProgramsDir},
    {"%StartUpDir%", Builtin::kStartUpDir},
    {"%DesktopDir%", Builtin::kDesktopDir},
    {"%StartMenuDir%", Builtin::kStartMenuDir},
    {"%ProgramGroupDir%", Builtin::kProgramGroupDir},
    {"%SourceDir%", Builtin::kSourceDir},
    {"%DotNetDir%", Builtin::kDotNetDir},
    {"%IsAdmin%", Builtin::kIsAdmin},
    {"%IsNT%", Builtin::kIsNT},
    {"%OSVersion%", Builtin::kOSVersion},
    {"%OSMajorVersion%", Builtin::kOSMajorVersion},
    {"%OSMinorVersion%", Builtin::kOSMinorVersion},
    {"%ColorDepth%", Builtin::kColorDepth},
    {"%CurrentDay%", Builtin::kCurrentDay},
    {"%CurrentHour%", Builtin::kCurrentHour},
    {"%CurrentMinute%", Builtin::kCurrentMinute},
    {"%CurrentMonth%", Builtin::kCurrentMonth},
    {"%CurrentSecond%", Builtin::kCurrentSecond},
    {"%CurrentYear%", Builtin::kCurrentYear},
    {"%Date%", Builtin::kDate},
    {"%EuropeanDate%", Builtin::kEuropeanDate},
    {"%ISODate%", Builtin::kISODate},
    {"%ScreenHeight%", Builtin::kScreenHeight},
    {"%ScreenWidth%", Builtin::kScreenWidth},
    {"%RAMMemory%", Builtin::kRAMMemory},
    {"%SetupHandle%", Builtin::kSetupHandle},
    {"%ActiveDialogHandle%", Builtin::kActiveDialogHandle},
    {"%IsActiveSyncInstalled%", Builtin::kIsActiveSyncInstalled},
    {"%IsHotSyncInstalled%", Builtin::kIsHotSyncInstalled},
    {"%IsDotNetInstalled%", Builtin::kIsDotNetInstalled},
    {"%DotNetVersion%", Builtin::kDotNetVersion},
    {"%ActiveSyncVersion%", Builtin::kActiveSyncVersion},
    {"%CmdLineParam%", Builtin::kCmdLineParam},
}};

std::string Padded(int value, size_t width) {
  std::string digits = std::to_string(value < 0 ? 0 : value);
  if (digits.size() < width)
    digits.insert(0, width - digits.size(), '0');
  return digits;
}

}  // namespace

std::span<const BuiltinName> BuiltinNames() {
  return kBuiltinNames;
}

bool IsFolderBuiltin(Builtin id) {
  return id >= Builtin::kTempSetupDir && id <= Builtin::kDotNetDir;
}

bool IsClockBuiltin(Builtin id) {
  return id >= Builtin::kCurrentDay && id <= Builtin::kISODate;
}

std::optional<Builtin> FindComputedName(std::string_view text) {
  for (const BuiltinName& entry : kBuiltinNames) {
    if (entry.id >= Builtin::kIsAdmin && SameText(entry.name, text))
      return entry.id;
  }
  return std::nullopt;
}

std::string FormatClock(Builtin id, const LocalClock& clock) {
  const std::string day = Padded(clock.Day, 2);
  const std::string month = Padded(clock.Month, 2);
  const std::string year = Padded(clock.Year, 4);
  const std::string& sep = clock.DateSeparator;
  switch (id) {
    case Builtin::kCurrentDay:
      return day;
    case Builtin::kCurrentHour:
      return Padded(clock.Hour, 2);
    case Builtin::kCurrentMinute:
      return Padded(clock.Minute, 2);
    case Builtin::kCurrentMonth:
      return month;
    case Builtin::kCurrentSecond:
      return Padded(clock.Second, 2);
    case Builtin::kCurrentYear:
      return year;
    case Builtin::kDate:
      return month + sep + day + sep + year;
    case Builtin::kEuropeanDate:
      return day + sep + month + sep + year;
    case Builtin::kISODate:
      return year + "-" + month + "-" + day;
    default:
      return {};
  }
}

std::string ExtractFileDrive(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':')
    return std::string(path.substr(0, 2));
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    // "\\server\share": up to the separator behind the share name.
    const size_t server_end = path.find('\\', 2);
    if (server_end == std::string_view::npos)
      return std::string(path);
    const size_t share_end = path.find('\\', server_end + 1);
    return std::string(path.substr(0, share_end));
  }
  return {};
}

}  // namespace kvb
