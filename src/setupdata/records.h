// The plain records of the Setup data and of the uninstall log. Records carry no
// behaviour; the lists that hold them own them. Texts are byte strings (ANSI code page),
// kept byte for byte. Field order follows the stored order of each record.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kvb {

// Fixed-size text fields (font face names, dialog and control texts, script fields)
// hold at most this many characters; longer stored texts are cut when read.
inline constexpr size_t kFixedTextLength = 1000;
inline constexpr int kMessageCount = 69;
inline constexpr int kScriptSlotCount = 7;
inline constexpr int kSectionCount = 18;
inline constexpr uint32_t kSetupMagic = 0x0042566C;  // "lVB\0"

// Two stored forms exist for several records: the current one and an older one (still
// found in old uninstall logs) that lacks one flag byte.
enum class StreamForm { kCurrent, kOld };

struct TFontRecord {
  std::string FaceName;  // at most kFixedTextLength characters
  uint32_t Size = 0;     // points
  uint32_t Color = 0;    // 0x00BBGGRR, or 0x80000000 + system colour index
  uint8_t Style = 0;     // 1 bold, 2 italic, 4 underline, 8 strike-out
  uint8_t Charset = 0;   // Windows character set (1 = default)
  bool operator==(const TFontRecord&) const = default;
};

// One script statement in memory: the full stored 32-bit code (the interpreter uses its
// low byte), five argument texts and the guard condition, each at most 1000 characters.
struct TScriptStatement {
  uint32_t Code = 0;
  std::array<std::string, 5> Args;
  std::string Guard;
  uint8_t CommandCode() const { return static_cast<uint8_t>(Code & 0xFF); }
  bool operator==(const TScriptStatement&) const = default;
};

// A script: the stored count (negative = absent script, kept for rewriting) and its
// statements (none when the count is negative).
struct TScript {
  int32_t Count = -1;
  std::vector<TScriptStatement> Statements;
  bool operator==(const TScript&) const = default;
};

struct TSetupFilePackage {
  uint8_t Flag = 0;
  std::string Text;
  bool operator==(const TSetupFilePackage&) const = default;
};

// A file of the package.
struct TSetupFile {
  std::string SourceName;     // bare file name of the entry ("KVBUNINST.DAT" for the uninstaller)
  std::string DestDir;        // destination folder, may hold %Name% references
  uint8_t OverwriteMode = 0;  // 0-9
  uint8_t ExtraFlag1 = 0;     // carried (the builder writes 1)
  uint8_t ExtraFlag2 = 0;     // carried; absent in the old form
  std::string ExtraText1;     // carried
  uint8_t SharedFile = 0;
  uint8_t SelfRegister = 0;
  uint8_t TypeLibrary = 0;
  uint8_t PalmFile = 0;
  uint8_t ActiveX = 0;
  uint8_t ExtraFlag3 = 0;  // carried
  std::string ExtraText2;  // carried
  uint8_t FontFlag = 0;
  std::string FontName;
  TSetupFilePackage Package;  // never stored
  std::string ExtraText3;     // carried
  std::string Components;     // "|"-separated component names; empty = always
  std::string Group;          // install-group condition; "uninstaller" marks the uninstaller
  uint32_t Size = 0;          // not stored in the record; set from the device-file header
  bool operator==(const TSetupFile&) const = default;
};

// A file together with its archive entry.
struct TSetupInstallerFile {
  uint32_t EntryIndex = 0;
  uint32_t VersionHigh = 0;
  uint32_t VersionLow = 0;
  uint32_t FileDate = 0;  // DOS date (high word) and time (low word)
  TSetupFile File;
  bool operator==(const TSetupInstallerFile&) const = default;
};

struct TSetupShortcut {
  std::string Name;  // link name without ".lnk"
  std::string Target;
  std::string Arguments;
  std::string Description;
  uint32_t ShowCmd = 0;  // SW_ value
  std::string Folder;
  std::string IconFile;
  uint32_t IconIndex = 0;
  uint8_t ExtraFlag1 = 0;
  uint8_t ExtraFlag2 = 0;  // absent in the old form
  std::string ExtraText1;
  std::string ExtraText2;
  std::string Components;
  std::string Group;
  bool operator==(const TSetupShortcut&) const = default;
};

struct TSetupRegChange {
  uint8_t Root = 0;  // 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE
  std::string Key;
  uint32_t ValueType = 0;  // 0 string, 1 integer, 2 binary, 3 multi-string
  std::string ValueName;
  std::string Data;
  uint8_t ExtraFlag1 = 0;
  uint8_t ExtraFlag2 = 0;  // absent in the old form
  std::string ExtraText1;
  std::string ExtraText2;
  std::string Components;
  std::string Group;
  bool operator==(const TSetupRegChange&) const = default;
};

// A package variable: its value comes from the registry value named by Source, else
// from Source.Data expanded. Flag is the directory flag.
struct TSetupVariable {
  std::string Name;
  TSetupRegChange Source;
  uint8_t Flag = 0;
  bool operator==(const TSetupVariable&) const = default;
};

struct TSetupComponent {
  std::string Name;
  std::string Description;
  std::string Text3;  // the component's picture file among the temporary files
  bool operator==(const TSetupComponent&) const = default;
};

struct TInstallerComponent {
  TSetupComponent Component;
  uint32_t ArchiveOffset = 0;  // absolute offset of the component's archive block
  uint32_t ArchiveSpan = 0;    // width on the progress scale; 0 = no archive block
  uint32_t ProgressBase = 0;   // progress value where the component's extraction starts
  bool operator==(const TInstallerComponent&) const = default;
};

struct THotSyncConduit {
  std::string Creator;  // four characters
  uint8_t Kind = 0;     // 0 application conduit, 1 component
  std::string ConduitFile;
  std::string Directory;
  std::string RemoteDatabase;
  std::string FileName;
  std::string Name;
  std::string Information;
  uint8_t Priority = 0;
  std::string Module;
  uint8_t ComFlag = 0;
  std::string ComClient;
  bool operator==(const THotSyncConduit&) const = default;
};

struct TSetupDeviceFileGroup {
  std::string Name;
  std::string Folder;
  std::string Text3;  // description
  std::string Text4;
  std::string Text5;  // never stored
  uint8_t Flag = 0;   // never stored
  std::string CabFiles;  // "|"-separated CAB file names
  bool operator==(const TSetupDeviceFileGroup&) const = default;
};

struct TSetupBackItem {
  uint8_t Kind = 0;   // 0 text item, other = picture item
  uint8_t Flag1 = 0;  // corner
  uint8_t Flag2 = 0;  // slide-in direction; absent in the old form
  std::string Caption;
  TFontRecord Font;
  uint32_t TextValue = 0;  // shadow colour
  uint8_t TextFlag = 0;    // has a shadow
  std::string PictureFile;
  uint32_t PictureValue = 0;  // transparent colour
  uint8_t PictureFlag = 0;    // drawn transparently
  uint8_t Reserved = 0;       // set at run time once the item has been shown
  bool operator==(const TSetupBackItem&) const = default;
};

// A message table: 69 texts addressed by the fixed message numbers.
struct TSetupMessage {
  std::array<std::string, kMessageCount> Texts;
  int32_t LanguageId = -1;  // -1 for the language-less table
  bool operator==(const TSetupMessage&) const = default;
};

struct TSetupLanguage {
  std::string Name;
  uint32_t LanguageId = 0;
  uint8_t IsDefault = 0;
  TSetupMessage Messages;
  bool operator==(const TSetupLanguage&) const = default;
};

struct TSetupProperties {
  std::string SoftwareName;
  std::string Comments;
  std::string CompanyName;
  std::string DefaultInstallDir;
  std::string DefaultProgramGroup;
  std::string WizardBitmap;
  std::string Title;
  std::string BackBitmap;
  uint8_t BackPlacement = 0;  // 0 stretch, 1 tile, 2 centre
  uint32_t BackColor1 = 0;
  uint32_t BackColor2 = 0;
  uint8_t BackGradient = 0;
  uint8_t BackFlag = 0;  // 0 maximised, 1 full screen, 2 centred 7/8
  std::string SplashBitmap;
  TFontRecord Font;
  std::string LicenseFile;
  TSetupDeviceFileGroup DeviceGroup;  // only Folder and CabFiles are stored
  std::string DisplayName;
  std::string DisplayVersion;
  std::string Contact;
  std::string URLInfoAbout;
  std::string HelpLink;
  std::string URLUpdateInfo;
  std::string ComponentsType0;
  std::string ComponentsType1;
  std::string ComponentsType2;
  bool operator==(const TSetupProperties&) const = default;
};

struct TSetupMinimumRequeriments {
  uint8_t MinScreen = 0;  // 0 none, 1 640x480 ... 5 1024x768
  uint32_t MinColorBits = 0;
  uint32_t MinMemoryMB = 0;  // units of 1,000,000 bytes
  bool operator==(const TSetupMinimumRequeriments&) const = default;
};

// A packed Windows version (major << 24 | minor << 16 | build) and a service pack
// (major * 256 + minor). Entries 0 and 1 of the table store no service pack.
struct TOsLimit {
  uint32_t Version = 0;
  uint16_t ServicePack = 0;
  bool operator==(const TOsLimit&) const = default;
};

// One entry of the CE platform table (section 17, and the uninstall log).
struct TSetupPlatform {
  std::string Name;
  std::string IncompatiblePlatforms;  // ", "-separated platform names
  uint32_t CpuMask = 0;               // a 16-bit mask, stored zero-extended
  uint32_t SecondCpuMask = 0;
  std::string MinVersion;  // "major.minor"
  std::string MaxVersion;
  bool operator==(const TSetupPlatform&) const = default;
};

// A designed control (dialog records).
struct TSetupControl {
  uint8_t Kind = 0;
  std::string Variable;
  uint8_t Role = 0;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Height = 0;
  int32_t Width = 0;
  std::array<std::string, 6> Strings;  // S1..S6; slots the kind does not store stay empty
  TScript Script;
  bool operator==(const TSetupControl&) const = default;
};

enum DialogScript { kBeforeScript = 0, kBuiltScript = 1, kShownScript = 2, kLeaveScript = 3 };

// A designed page, style or secondary dialog.
struct TSetupDialog {
  std::string Name;
  std::string Title;
  int32_t Height = 0;
  int32_t Width = 0;
  TFontRecord Font;
  uint8_t Type = 0;  // 0 page, 2 style
  std::string Style;
  std::vector<TSetupControl> Controls;
  std::array<TScript, 4> Scripts;  // indexed by DialogScript
  bool operator==(const TSetupDialog&) const = default;
};

// One installation action, kept by the installation engine and in the uninstall log.
struct TUninstItem {
  uint8_t Kind = 0;
  std::string Path;
  TSetupFile File;
  TSetupRegChange RegChange;
  bool operator==(const TUninstItem&) const = default;
};

}  // namespace kvb
