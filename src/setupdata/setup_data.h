// The Setup data appended behind the setup program: trailer, section table and the
// eighteen sections, read into records (and written back by the builder).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "setupdata/byte_source.h"
#include "setupdata/records.h"

namespace kvb {

// The last 12 bytes of the file.
struct TSetupTrailer {
  uint32_t HeaderOffset = 0;
  int32_t MainArchiveOffset = 0;  // 0 or less: the main archive lies in volume files
  uint32_t Magic = 0;
};

enum StartupOption {
  kDevicesOnly = 0,
  kUseBackWindow = 1,
  kRequireActiveSync = 2,
  kRequireHotSync = 3,
  kOption4 = 4,
  kWriteUninstallInfo = 5,
  kKeepDefaultFont = 6,
};

// What start-up reads before anything else: trailer, section table, option bytes.
struct TSetupHeader {
  TSetupTrailer Trailer;
  std::array<uint32_t, kSectionCount> SectionOffsets{};
  std::array<uint8_t, 7> StartupOptions{};
};

// Reads the trailer, the section table and the seven option bytes of section 3.
// False when any of them cannot be read. The magic is not compared here.
bool ReadSetupData(ByteSource& source, TSetupHeader& header);

// The same, throwing FormatError (with what could not be read) instead of returning
// false.
TSetupHeader ReadSetupHeader(ByteSource& source);

// Every section of the package in record form. Sections 15 and 16 (the archives) are
// only located here; their content belongs to the archive reader.
struct TSetupData {
  // Section 0: software information.
  uint8_t InfoByte = 0;  // first byte, carried without meaning
  TSetupProperties Properties;
  TSetupMinimumRequeriments MinimumRequirements;
  std::array<TOsLimit, 4> OsLimits{};

  // Section 1: languages and message tables. With no languages there is exactly one
  // language-less table (identifier -1) in `LanguageLessMessages`.
  std::vector<TSetupLanguage> Languages;
  TSetupMessage LanguageLessMessages;

  // Section 3.
  std::array<uint8_t, 7> StartupOptions{};
  // Section 4.
  std::vector<TSetupVariable> Variables;
  // Section 5.
  std::vector<TSetupBackItem> BackItems;
  // Section 6.
  uint32_t MainArchiveSpan = 0;
  double MainArchiveScale = 0;
  std::vector<TInstallerComponent> Components;
  std::vector<THotSyncConduit> Conduits;
  // Section 7.
  std::vector<std::string> Billboards;
  // Section 8: global scripts in their slots.
  std::array<TScript, kScriptSlotCount> Scripts;
  // Section 9.
  std::vector<TSetupDialog> Dialogs;
  // Section 10.
  std::vector<std::string> FileFolders;
  std::vector<std::string> ShortcutFolders;
  // Section 11: temporary files (entry index and file record).
  std::vector<TSetupInstallerFile> TempFiles;
  // Section 12: device groups and files (the group texts go to Properties.DeviceGroup).
  std::vector<TSetupDeviceFileGroup> DeviceGroups;
  std::vector<TSetupInstallerFile> DeviceFiles;
  // Sections 13 and 14.
  std::vector<TSetupShortcut> Shortcuts;
  std::vector<TSetupRegChange> RegChanges;
  // Section 17.
  std::vector<TSetupPlatform> Platforms;

  bool operator==(const TSetupData&) const = default;
};

}  // namespace kvb
