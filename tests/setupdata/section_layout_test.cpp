// Sections written by hand, byte by byte, and read through their loaders: catches a
// field read into the wrong place, which a write-then-read round trip cannot see.
#include <gtest/gtest.h>

#include "setupdata/byte_writer.h"
#include "setupdata/record_io.h"
#include "setupdata/section_reader.h"

namespace kvb {
namespace {

// Loads section `index` from `bytes` placed behind a few filler bytes.
TSetupData LoadOnly(int index, const std::string& bytes) {
  MemorySource source("filler" + bytes);
  TSetupHeader header;
  header.SectionOffsets[index] = 6;
  TSetupData data;
  LoadSection(index, source, header, data);
  return data;
}

TEST(SectionLayoutTest, SoftwareInformation) {
  ByteWriter w;
  w.U8(9);
  for (const char* text : {"name", "company", "dir", "group", "comments", "t0", "t1", "t2"}) {
    w.ZStr(text);
  }
  w.U8(5);
  w.U32(24);
  w.U32(128);
  w.U32(0x04000000);
  w.U32(0x04100000);
  w.U32(0x05000000);
  w.U16(0x0102);
  w.U32(0x05010000);
  w.U16(0x0300);
  for (const char* text : {"display", "version", "contact", "about", "help", "update"}) {
    w.ZStr(text);
  }
  const TSetupData d = LoadOnly(kSectionSoftwareInfo, w.Data());
  const TSetupProperties& p = d.Properties;
  EXPECT_EQ(d.InfoByte, 9);
  EXPECT_EQ(p.SoftwareName, "name");
  EXPECT_EQ(p.CompanyName, "company");
  EXPECT_EQ(p.DefaultInstallDir, "dir");
  EXPECT_EQ(p.DefaultProgramGroup, "group");
  EXPECT_EQ(p.Comments, "comments");
  EXPECT_EQ(p.ComponentsType0, "t0");
  EXPECT_EQ(p.ComponentsType1, "t1");
  EXPECT_EQ(p.ComponentsType2, "t2");
  EXPECT_EQ(d.MinimumRequirements, (TSetupMinimumRequeriments{5, 24, 128}));
  EXPECT_EQ(d.OsLimits,
            (std::array<TOsLimit, 4>{
                {{0x04000000, 0}, {0x04100000, 0}, {0x05000000, 0x0102}, {0x05010000, 0x0300}}}));
  EXPECT_EQ(p.DisplayName, "display");
  EXPECT_EQ(p.DisplayVersion, "version");
  EXPECT_EQ(p.Contact, "contact");
  EXPECT_EQ(p.URLInfoAbout, "about");
  EXPECT_EQ(p.HelpLink, "help");
  EXPECT_EQ(p.URLUpdateInfo, "update");
}

TEST(SectionLayoutTest, Appearance) {
  ByteWriter w;
  w.ZStr("wizard.bmp");
  w.ZStr("title");
  w.ZStr("back.bmp");
  w.U8(2);
  w.U32(0x111111);
  w.U32(0x222222);
  w.U8(1);
  w.U8(3);
  w.ZStr("splash.bmp");
  WriteFont(w, {"Tahoma", 8, 0x80000008, 1, 238});
  w.ZStr("license.txt");
  const TSetupProperties p = LoadOnly(kSectionAppearance, w.Data()).Properties;
  EXPECT_EQ(p.WizardBitmap, "wizard.bmp");
  EXPECT_EQ(p.Title, "title");
  EXPECT_EQ(p.BackBitmap, "back.bmp");
  EXPECT_EQ(p.BackPlacement, 2);
  EXPECT_EQ(p.BackColor1, 0x111111u);
  EXPECT_EQ(p.BackColor2, 0x222222u);
  EXPECT_EQ(p.BackGradient, 1);
  EXPECT_EQ(p.BackFlag, 3);
  EXPECT_EQ(p.SplashBitmap, "splash.bmp");
  EXPECT_EQ(p.Font, (TFontRecord{"Tahoma", 8, 0x80000008, 1, 238}));
  EXPECT_EQ(p.LicenseFile, "license.txt");
}

TEST(SectionLayoutTest, LanguagesWithTheirTables) {
  ByteWriter w;
  w.U32(2);
  for (const char* name : {"English", "Deutsch"}) {
    w.ZStr(name);
    w.U32(name[0] == 'E' ? 1033 : 1031);
    w.U8(name[0] == 'E' ? 0 : 1);
    for (int i = 0; i < kMessageCount; ++i)
      w.ZStr(std::string(name, 2) + std::to_string(i));
  }
  const TSetupData d = LoadOnly(kSectionMessages, w.Data());
  ASSERT_EQ(d.Languages.size(), 2u);
  EXPECT_EQ(d.Languages[1].Name, "Deutsch");
  EXPECT_EQ(d.Languages[1].LanguageId, 1031u);
  EXPECT_EQ(d.Languages[1].IsDefault, 1);
  EXPECT_EQ(d.Languages[1].Messages.LanguageId, 1031);
  EXPECT_EQ(d.Languages[0].Messages.Texts[68], "En68");
  EXPECT_EQ(d.Languages[1].Messages.Texts[0], "De0");
}

TEST(SectionLayoutTest, ComponentsAndConduits) {
  ByteWriter w;
  w.U32(50);
  w.F64(2.0);
  w.U32(1);
  for (const char* text : {"Main", "desc", "pic.bmp"})
    w.ZStr(text);
  w.U32(1000);
  w.U32(30);
  w.U32(70);
  w.U32(1);
  w.ZStr("CRTR");
  w.U8(1);
  for (const char* text : {"c.dll", "dir", "db", "f.pdb", "name", "info"})
    w.ZStr(text);
  w.U8(4);
  w.ZStr("module");
  w.U8(1);
  w.ZStr("client");
  const TSetupData d = LoadOnly(kSectionComponents, w.Data());
  EXPECT_EQ(d.MainArchiveSpan, 50u);
  EXPECT_EQ(d.MainArchiveScale, 2.0);
  ASSERT_EQ(d.Components.size(), 1u);
  EXPECT_EQ(d.Components[0], (TInstallerComponent{{"Main", "desc", "pic.bmp"}, 1000, 30, 70}));
  ASSERT_EQ(d.Conduits.size(), 1u);
  EXPECT_EQ(d.Conduits[0], (THotSyncConduit{"CRTR", 1, "c.dll", "dir", "db", "f.pdb", "name",
                                            "info", 4, "module", 1, "client"}));
}

TEST(SectionLayoutTest, DeviceGroupsAndFiles) {
  ByteWriter w;
  w.U32(1);
  w.ZStr("%CE1%\\App");
  w.ZStr("app.cab");
  for (const char* text : {"G", "folder", "t3", "t4", "g.cab"})
    w.ZStr(text);
  w.U32(0);
  const TSetupData d = LoadOnly(kSectionDeviceFiles, w.Data());
  EXPECT_EQ(d.Properties.DeviceGroup.Folder, "%CE1%\\App");
  EXPECT_EQ(d.Properties.DeviceGroup.CabFiles, "app.cab");
  ASSERT_EQ(d.DeviceGroups.size(), 1u);
  EXPECT_EQ(d.DeviceGroups[0], (TSetupDeviceFileGroup{"G", "folder", "t3", "t4", "", 0, "g.cab"}));
  EXPECT_TRUE(d.DeviceFiles.empty());
}

TEST(SectionLayoutTest, Platforms) {
  ByteWriter w;
  w.U32(1);
  w.ZStr("PPC");
  w.ZStr("PSPC, HPC");
  w.U32(0x0A11);
  w.U32(0x0002);
  w.ZStr("3.0");
  w.ZStr("1000.0");
  const TSetupData d = LoadOnly(kSectionPlatforms, w.Data());
  ASSERT_EQ(d.Platforms.size(), 1u);
  EXPECT_EQ(d.Platforms[0], (TSetupPlatform{"PPC", "PSPC, HPC", 0x0A11, 2, "3.0", "1000.0"}));
}

}  // namespace
}  // namespace kvb
