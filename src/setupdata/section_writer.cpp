#include "setupdata/section_writer.h"

#include <stdexcept>

#include "setupdata/dialog_io.h"
#include "setupdata/record_io.h"
#include "setupdata/script_io.h"

namespace kvb {

namespace {

template <typename List, typename WriteOne>
void WriteList(ByteWriter& out, const List& list, WriteOne write_one) {
  out.U32(static_cast<uint32_t>(list.size()));
  for (const auto& record : list)
    write_one(out, record);
}

void WriteTextList(ByteWriter& out, const std::vector<std::string>& list) {
  WriteList(out, list, [](ByteWriter& w, const std::string& text) { w.ZStr(text); });
}

void WriteMessageTable(ByteWriter& out, const TSetupMessage& table) {
  for (const std::string& text : table.Texts)
    out.ZStr(text);
}

void WriteSoftwareInfo(ByteWriter& out, const TSetupData& data) {
  const TSetupProperties& p = data.Properties;
  out.U8(data.InfoByte);
  for (const std::string* text :
       {&p.SoftwareName, &p.CompanyName, &p.DefaultInstallDir, &p.DefaultProgramGroup, &p.Comments,
        &p.ComponentsType0, &p.ComponentsType1, &p.ComponentsType2}) {
    out.ZStr(*text);
  }
  out.U8(data.MinimumRequirements.MinScreen);
  out.U32(data.MinimumRequirements.MinColorBits);
  out.U32(data.MinimumRequirements.MinMemoryMB);
  for (size_t i = 0; i < data.OsLimits.size(); ++i) {
    out.U32(data.OsLimits[i].Version);
    if (i >= 2)
      out.U16(data.OsLimits[i].ServicePack);
  }
  for (const std::string* text : {&p.DisplayName, &p.DisplayVersion, &p.Contact, &p.URLInfoAbout,
                                  &p.HelpLink, &p.URLUpdateInfo}) {
    out.ZStr(*text);
  }
}

void WriteMessages(ByteWriter& out, const TSetupData& data) {
  out.U32(static_cast<uint32_t>(data.Languages.size()));
  if (data.Languages.empty())
    WriteMessageTable(out, data.LanguageLessMessages);
  for (const TSetupLanguage& language : data.Languages) {
    out.ZStr(language.Name);
    out.U32(language.LanguageId);
    out.U8(language.IsDefault);
    WriteMessageTable(out, language.Messages);
  }
}

void WriteAppearance(ByteWriter& out, const TSetupData& data) {
  const TSetupProperties& p = data.Properties;
  out.ZStr(p.WizardBitmap);
  out.ZStr(p.Title);
  out.ZStr(p.BackBitmap);
  out.U8(p.BackPlacement);
  out.U32(p.BackColor1);
  out.U32(p.BackColor2);
  out.U8(p.BackGradient);
  out.U8(p.BackFlag);
  out.ZStr(p.SplashBitmap);
  WriteFont(out, p.Font);
  out.ZStr(p.LicenseFile);
}

void WriteComponents(ByteWriter& out, const TSetupData& data) {
  out.U32(data.MainArchiveSpan);
  out.F64(data.MainArchiveScale);
  WriteList(out, data.Components, WriteComponent);
  WriteList(out, data.Conduits, WriteConduit);
}

void WriteDeviceFiles(ByteWriter& out, const TSetupData& data) {
  out.U32(static_cast<uint32_t>(data.DeviceGroups.size()));
  out.ZStr(data.Properties.DeviceGroup.Folder);
  out.ZStr(data.Properties.DeviceGroup.CabFiles);
  for (const TSetupDeviceFileGroup& group : data.DeviceGroups)
    WriteDeviceGroup(out, group);
  WriteList(out, data.DeviceFiles, WriteDeviceFile);
}

}  // namespace

void WriteSection(ByteWriter& out, int index, const TSetupData& data) {
  switch (index) {
    case 0:
      return WriteSoftwareInfo(out, data);
    case 1:
      return WriteMessages(out, data);
    case 2:
      return WriteAppearance(out, data);
    case 3:
      for (uint8_t option : data.StartupOptions)
        out.U8(option);
      return;
    case 4:
      return WriteList(out, data.Variables, WriteVariable);
    case 5:
      return WriteList(out, data.BackItems,
                       [](ByteWriter& w, const TSetupBackItem& b) { WriteBackItem(w, b); });
    case 6:
      return WriteComponents(out, data);
    case 7:
      return WriteTextList(out, data.Billboards);
    case 8:
      for (const TScript& script : data.Scripts)
        WriteScript(out, script, TextForm::kScrambled);
      return;
    case 9:
      return WriteList(out, data.Dialogs,
                       [](ByteWriter& w, const TSetupDialog& d) { WriteDialog(w, d); });
    case 10:
      WriteTextList(out, data.FileFolders);
      WriteTextList(out, data.ShortcutFolders);
      return;
    case 11:
      return WriteList(out, data.TempFiles, WriteTempFile);
    case 12:
      return WriteDeviceFiles(out, data);
    case 13:
      return WriteList(out, data.Shortcuts,
                       [](ByteWriter& w, const TSetupShortcut& s) { WriteShortcut(w, s); });
    case 14:
      return WriteList(out, data.RegChanges,
                       [](ByteWriter& w, const TSetupRegChange& r) { WriteRegChange(w, r); });
    case 17:
      return WriteList(out, data.Platforms, WritePlatform);
    default:
      throw std::invalid_argument("no writer for section " + std::to_string(index));
  }
}

std::string WriteSection(int index, const TSetupData& data) {
  ByteWriter out;
  WriteSection(out, index, data);
  return out.Take();
}

}  // namespace kvb
