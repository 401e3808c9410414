#include "setupdata/section_reader.h"

#include <stdexcept>
#include <string>

#include "setupdata/byte_reader.h"
#include "setupdata/dialog_io.h"
#include "setupdata/record_io.h"
#include "setupdata/script_io.h"

namespace kvb {

namespace {

constexpr const char* kSectionNames[kSectionCount] = {"software information",
                                                      "messages",
                                                      "appearance",
                                                      "start-up options",
                                                      "variables",
                                                      "background items",
                                                      "components",
                                                      "billboards",
                                                      "scripts",
                                                      "dialogs",
                                                      "folders",
                                                      "temporary files",
                                                      "device files",
                                                      "shortcuts",
                                                      "registry changes",
                                                      "temporary-file archive",
                                                      "main archive",
                                                      "device platforms"};

std::string SectionLabel(int index) {
  return "section " + std::to_string(index) + " (" + SectionName(index) + ")";
}

// Runs `body` on a reader placed at the section's offset and reaching to the end of
// the file; every error it raises is reported with the section's name.
template <typename Body>
void ReadSection(ByteSource& source, const TSetupHeader& header, int index, Body body) {
  const uint64_t offset = header.SectionOffsets[index];
  if (offset >= source.Size()) {
    throw FormatError(SectionLabel(index) + ": offset " + std::to_string(offset) +
                      " lies outside the file");
  }
  try {
    ByteReader in(source, offset);
    body(in);
  } catch (const FormatError& e) {
    throw FormatError(SectionLabel(index) + ": " + e.what());
  }
}

// Reads a u32 count followed by that many records.
template <typename Record, typename ReadOne>
std::vector<Record> ReadList(ByteReader& in, size_t min_size, ReadOne read_one) {
  const uint32_t count = in.Count(in.U32(), min_size);
  std::vector<Record> list;
  list.reserve(count);
  for (uint32_t i = 0; i < count; ++i)
    list.push_back(read_one(in));
  return list;
}

std::vector<std::string> ReadTextList(ByteReader& in) {
  return ReadList<std::string>(in, 1, [](ByteReader& r) { return r.ZStr(); });
}

TSetupMessage ReadMessageTable(ByteReader& in, int32_t language_id) {
  TSetupMessage table;
  for (std::string& text : table.Texts)
    text = in.ZStr();
  table.LanguageId = language_id;
  return table;
}

TSetupLanguage ReadLanguage(ByteReader& in) {
  TSetupLanguage language;
  language.Name = in.ZStr();
  language.LanguageId = in.U32();
  language.IsDefault = in.U8();
  language.Messages = ReadMessageTable(in, static_cast<int32_t>(language.LanguageId));
  return language;
}

}  // namespace

const char* SectionName(int index) {
  return index >= 0 && index < kSectionCount ? kSectionNames[index] : "unknown";
}

void LoadSoftwareInfo(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionSoftwareInfo, [&](ByteReader& in) {
    TSetupProperties& p = data.Properties;
    data.InfoByte = in.U8();
    p.SoftwareName = in.ZStr();
    p.CompanyName = in.ZStr();
    p.DefaultInstallDir = in.ZStr();
    p.DefaultProgramGroup = in.ZStr();
    p.Comments = in.ZStr();
    p.ComponentsType0 = in.ZStr();
    p.ComponentsType1 = in.ZStr();
    p.ComponentsType2 = in.ZStr();
    data.MinimumRequirements.MinScreen = in.U8();
    data.MinimumRequirements.MinColorBits = in.U32();
    data.MinimumRequirements.MinMemoryMB = in.U32();
    for (size_t i = 0; i < data.OsLimits.size(); ++i) {
      data.OsLimits[i].Version = in.U32();
      data.OsLimits[i].ServicePack = i < 2 ? 0 : in.U16();
    }
    p.DisplayName = in.ZStr();
    p.DisplayVersion = in.ZStr();
    p.Contact = in.ZStr();
    p.URLInfoAbout = in.ZStr();
    p.HelpLink = in.ZStr();
    p.URLUpdateInfo = in.ZStr();
  });
}

void LoadMessages(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionMessages, [&](ByteReader& in) {
    constexpr size_t kMinLanguageSize = 1 + 4 + 1 + kMessageCount;
    data.Languages = ReadList<TSetupLanguage>(in, kMinLanguageSize, ReadLanguage);
    data.LanguageLessMessages = TSetupMessage{};
    if (data.Languages.empty())
      data.LanguageLessMessages = ReadMessageTable(in, -1);
  });
}

void LoadAppearance(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionAppearance, [&](ByteReader& in) {
    TSetupProperties& p = data.Properties;
    p.WizardBitmap = in.ZStr();
    p.Title = in.ZStr();
    p.BackBitmap = in.ZStr();
    p.BackPlacement = in.U8();
    p.BackColor1 = in.U32();
    p.BackColor2 = in.U32();
    p.BackGradient = in.U8();
    p.BackFlag = in.U8();
    p.SplashBitmap = in.ZStr();
    p.Font = ReadFont(in);
    p.LicenseFile = in.ZStr();
  });
}

void LoadStartupOptions(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionStartupOptions, [&](ByteReader& in) {
    for (uint8_t& option : data.StartupOptions)
      option = in.U8();
  });
}

void LoadVariables(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionVariables, [&](ByteReader& in) {
    data.Variables = ReadList<TSetupVariable>(in, kMinVariableSize, ReadVariable);
  });
}

void LoadBackItems(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionBackItems, [&](ByteReader& in) {
    data.BackItems = ReadList<TSetupBackItem>(in, kMinBackItemSize,
                                              [](ByteReader& r) { return ReadBackItem(r); });
  });
}

void LoadComponents(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionComponents, [&](ByteReader& in) {
    data.MainArchiveSpan = in.U32();
    data.MainArchiveScale = in.F64();
    data.Components = ReadList<TInstallerComponent>(in, kMinComponentSize, ReadComponent);
    data.Conduits = ReadList<THotSyncConduit>(in, kMinConduitSize, ReadConduit);
  });
}

void LoadBillboards(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionBillboards,
              [&](ByteReader& in) { data.Billboards = ReadTextList(in); });
}

void LoadScripts(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionScripts, [&](ByteReader& in) {
    for (TScript& script : data.Scripts)
      script = ReadScript(in, TextForm::kScrambled);
  });
}

void LoadDialogs(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionDialogs, [&](ByteReader& in) {
    data.Dialogs =
        ReadList<TSetupDialog>(in, kMinDialogSize, [](ByteReader& r) { return ReadDialog(r); });
  });
}

void LoadFolders(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionFolders, [&](ByteReader& in) {
    data.FileFolders = ReadTextList(in);
    data.ShortcutFolders = ReadTextList(in);
  });
}

void LoadTempFiles(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionTempFiles, [&](ByteReader& in) {
    data.TempFiles = ReadList<TSetupInstallerFile>(in, kMinTempFileSize, ReadTempFile);
  });
}

void LoadDeviceFiles(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionDeviceFiles, [&](ByteReader& in) {
    const uint32_t groups = in.Count(in.U32(), kMinDeviceGroupSize);
    data.Properties.DeviceGroup.Folder = in.ZStr();
    data.Properties.DeviceGroup.CabFiles = in.ZStr();
    data.DeviceGroups.clear();
    data.DeviceGroups.reserve(groups);
    for (uint32_t i = 0; i < groups; ++i)
      data.DeviceGroups.push_back(ReadDeviceGroup(in));
    data.DeviceFiles = ReadList<TSetupInstallerFile>(in, kMinDeviceFileSize, ReadDeviceFile);
  });
}

void LoadShortcuts(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionShortcuts, [&](ByteReader& in) {
    data.Shortcuts = ReadList<TSetupShortcut>(in, kMinShortcutSize,
                                              [](ByteReader& r) { return ReadShortcut(r); });
  });
}

void LoadRegChanges(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionRegChanges, [&](ByteReader& in) {
    data.RegChanges = ReadList<TSetupRegChange>(in, kMinRegChangeSize,
                                                [](ByteReader& r) { return ReadRegChange(r); });
  });
}

void LoadPlatforms(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  ReadSection(source, header, kSectionPlatforms, [&](ByteReader& in) {
    data.Platforms = ReadList<TSetupPlatform>(in, kMinPlatformSize, ReadPlatform);
  });
}

void LoadSection(int index, ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  using Loader = void (*)(ByteSource&, const TSetupHeader&, TSetupData&);
  static constexpr Loader kLoaders[kSectionCount] = {
      LoadSoftwareInfo, LoadMessages,   LoadAppearance,  LoadStartupOptions, LoadVariables,
      LoadBackItems,    LoadComponents, LoadBillboards,  LoadScripts,        LoadDialogs,
      LoadFolders,      LoadTempFiles,  LoadDeviceFiles, LoadShortcuts,      LoadRegChanges,
      nullptr,          nullptr,        LoadPlatforms};
  if (index < 0 || index >= kSectionCount || !kLoaders[index]) {
    throw std::invalid_argument("no loader for section " + std::to_string(index));
  }
  kLoaders[index](source, header, data);
}

void LoadAllSections(ByteSource& source, const TSetupHeader& header, TSetupData& data) {
  for (int index : kStartupSectionOrder)
    LoadSection(index, source, header, data);
}

}  // namespace kvb
