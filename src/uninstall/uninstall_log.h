// The uninstall log "uninst.dat": the one definition of its format, written by the
// installation engine at the end of an installation and read back by the removal (and
// by an installation over an earlier one). The log is self-contained: the product's
// names, the installation's language texts and font, the two uninstall scripts, the CE
// platform table, the variables and every installed item in the order of installation.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "setupdata/byte_reader.h"
#include "setupdata/records.h"

namespace kvb {

// The four tags a reader accepts, oldest first; a writer always writes the newest.
inline constexpr std::string_view kLogTagE = "eUNS";  // lacks the last six texts
inline constexpr std::string_view kLogTagF = "fUNS";  // lacks the last two texts
inline constexpr std::string_view kLogTagG = "gUNS";  // old file and registry records
inline constexpr std::string_view kLogTagH = "hUNS";

inline constexpr int kUninstallerTextCount = 30;
// The message numbers whose texts the log carries, by uninstaller text index.
inline constexpr std::array<int, kUninstallerTextCount> kUninstallerMessageNumbers = {
    36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 63, 58, 59, 52, 60,
    46, 47, 48, 49, 19, 0,  1,  57, 6,  2,  4,  3,  5,  67, 68};
// Message carried separately: the text shown while connecting to a CE device.
inline constexpr int kConnectionMessage = 61;

// The texts of the uninstaller, in the installation's language.
using TSetupUninstallerMsgs = std::array<std::string, kUninstallerTextCount>;

// The file name of the log in the installation folder.
inline constexpr char kUninstallLogName[] = "uninst.dat";
// Shown by the removal when a log's tag is not one of the four.
inline constexpr char kInvalidLogText[] = "Invalid Uninstaller Script.";

struct TUninstallLog {
  std::string SoftwareName;  // the package's properties, unexpanded
  std::string Comments;
  std::string CompanyName;
  uint8_t KeepDefaultFont = 0;  // start-up option byte 6
  uint8_t Option4 = 0;          // start-up option byte 4, carried
  TFontRecord Font;             // the package font
  TSetupUninstallerMsgs Messages;
  std::string ConnectionText;       // message 61
  TScript BeforeScript;             // script slot 5
  TScript AfterScript;              // script slot 6
  std::string SetupPath;            // the setup program that installed
  std::string IconPath;             // the installed program icon, "" for none
  std::string InstalledComponents;  // the selection of the installation
  std::vector<TSetupPlatform> Platforms;
  std::vector<std::string> Variables;  // "Name=Value" lines
  std::vector<TUninstItem> Items;      // in the order of installation
  bool operator==(const TUninstallLog&) const = default;
};

// The log's bytes with the tag "hUNS". Items of kinds 0 and 1 are stored with their
// file records as a log keeps them (LogFileRecord: bare file names, mode 7 as 8 with the
// shared-file flag).
std::string WriteUninstallLog(const TUninstallLog& log);

// The log's tag is not one of the four.
class UnknownLogTag : public FormatError {
 public:
  UnknownLogTag() : FormatError(kInvalidLogText) {}
};

// Reads a log of any of the four tags; texts an older tag lacks get their English
// defaults ("Yes", "Yes To All", "No", "No To All", "Existent File", "Destination
// File"). Throws UnknownLogTag for another tag and FormatError when the data ends early
// or a count exceeds the bytes left. Data behind the last item is ignored.
TUninstallLog ReadUninstallLog(ByteSource& source);

enum class LogReadStatus { kOk, kCannotOpen, kInvalidTag, kDamaged };

// Opens and reads the log file at `path` (deny-write sharing on Windows).
LogReadStatus ReadUninstallLogFile(const std::string& path, TUninstallLog& log);

}  // namespace kvb
