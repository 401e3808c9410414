// Sections written by hand, byte by byte, and read through their loaders: catches a
// field read into the wrong place, which a write-then-read round trip cannot see.
#include <gtest/gtest.h>

#include "setupdata/section_reader.h"
#include "stream_builder.h"

namespace kvb {
namespace {

// Loads section `index` from `bytes` placed behind a few filler bytes.
TSetupData LoadOnly(int index, const Stream& bytes) {
  MemorySource source("filler" + bytes.str());
  TSetupHeader header;
  header.SectionOffsets[index] = 6;
  TSetupData data;
  LoadSection(index, source, header, data);
  return data;
}

TEST(SectionLayoutTest, SoftwareInformation) {
  Stream s;
  s.B(9).Zs({"name", "company", "dir", "group", "comments", "t0", "t1", "t2"}).B(5).Ds({24, 128});
  s.Ds({0x04000000, 0x04100000, 0x05000000}).W(0x0102).D(0x05010000).W(0x0300);
  s.Zs({"display", "version", "contact", "about", "help", "update"});
  const TSetupData d = LoadOnly(kSectionSoftwareInfo, s);
  TSetupProperties expected;
  expected.SoftwareName = "name";
  expected.CompanyName = "company";
  expected.DefaultInstallDir = "dir";
  expected.DefaultProgramGroup = "group";
  expected.Comments = "comments";
  expected.ComponentsType0 = "t0";
  expected.ComponentsType1 = "t1";
  expected.ComponentsType2 = "t2";
  expected.DisplayName = "display";
  expected.DisplayVersion = "version";
  expected.Contact = "contact";
  expected.URLInfoAbout = "about";
  expected.HelpLink = "help";
  expected.URLUpdateInfo = "update";
  EXPECT_EQ(d.Properties, expected);
  EXPECT_EQ(d.InfoByte, 9);
  EXPECT_EQ(d.MinimumRequirements, (TSetupMinimumRequeriments{5, 24, 128}));
  EXPECT_EQ(d.OsLimits,
            (std::array<TOsLimit, 4>{
                {{0x04000000, 0}, {0x04100000, 0}, {0x05000000, 0x0102}, {0x05010000, 0x0300}}}));
}

TEST(SectionLayoutTest, Appearance) {
  Stream s;
  s.Zs({"wizard.bmp", "title", "back.bmp"}).B(2).Ds({0x111111, 0x222222}).Bs({1, 3});
  s.Z("splash.bmp").Font("Tahoma", 8, 0x80000008, 1, 238).Z("license.txt");
  TSetupProperties expected;
  expected.WizardBitmap = "wizard.bmp";
  expected.Title = "title";
  expected.BackBitmap = "back.bmp";
  expected.BackPlacement = 2;
  expected.BackColor1 = 0x111111;
  expected.BackColor2 = 0x222222;
  expected.BackGradient = 1;
  expected.BackFlag = 3;
  expected.SplashBitmap = "splash.bmp";
  expected.Font = {"Tahoma", 8, 0x80000008, 1, 238};
  expected.LicenseFile = "license.txt";
  EXPECT_EQ(LoadOnly(kSectionAppearance, s).Properties, expected);
}

TEST(SectionLayoutTest, LanguagesWithTheirTables) {
  Stream s;
  s.D(2);
  for (const char* name : {"English", "Deutsch"}) {
    s.Z(name).D(name[0] == 'E' ? 1033 : 1031).B(name[0] == 'E' ? 0 : 1);
    for (int i = 0; i < kMessageCount; ++i)
      s.Z(std::string(name, 2) + std::to_string(i));
  }
  const TSetupData d = LoadOnly(kSectionMessages, s);
  ASSERT_EQ(d.Languages.size(), 2u);
  EXPECT_EQ(d.Languages[1].Name, "Deutsch");
  EXPECT_EQ(d.Languages[1].LanguageId, 1031u);
  EXPECT_EQ(d.Languages[1].IsDefault, 1);
  EXPECT_EQ(d.Languages[1].Messages.LanguageId, 1031);
  EXPECT_EQ(d.Languages[0].Messages.Texts[68], "En68");
  EXPECT_EQ(d.Languages[1].Messages.Texts[0], "De0");
}

TEST(SectionLayoutTest, ComponentsAndConduits) {
  Stream s;
  s.D(50).F(2.0).D(1).Zs({"Main", "desc", "pic.bmp"}).Ds({1000, 30, 70});
  s.D(1).Z("CRTR").B(1).Zs({"c.dll", "dir", "db", "f.pdb", "name", "info"});
  s.B(4).Z("module").B(1).Z("client");
  const TSetupData d = LoadOnly(kSectionComponents, s);
  EXPECT_EQ(d.MainArchiveSpan, 50u);
  EXPECT_EQ(d.MainArchiveScale, 2.0);
  EXPECT_EQ(d.Components,
            (std::vector<TInstallerComponent>{{{"Main", "desc", "pic.bmp"}, 1000, 30, 70}}));
  EXPECT_EQ(d.Conduits, (std::vector<THotSyncConduit>{{"CRTR", 1, "c.dll", "dir", "db", "f.pdb",
                                                       "name", "info", 4, "module", 1, "client"}}));
}

TEST(SectionLayoutTest, DeviceGroupsVariablesAndPlatforms) {
  Stream groups;
  groups.D(1).Zs({"%CE1%\\App", "app.cab", "G", "folder", "t3", "t4", "g.cab"}).D(0);
  const TSetupData d = LoadOnly(kSectionDeviceFiles, groups);
  EXPECT_EQ(d.Properties.DeviceGroup.Folder, "%CE1%\\App");
  EXPECT_EQ(d.Properties.DeviceGroup.CabFiles, "app.cab");
  EXPECT_EQ(d.DeviceGroups,
            (std::vector<TSetupDeviceFileGroup>{{"G", "folder", "t3", "t4", "", 0, "g.cab"}}));

  Stream variables;
  variables.D(1).Z("%V%").B(1).Z("key").D(0).Zs({"name", "data"}).Bs({2, 3});
  variables.Zs({"e1", "e2", "c", "g"}).B(1);
  EXPECT_EQ(LoadOnly(kSectionVariables, variables).Variables,
            (std::vector<TSetupVariable>{
                {"%V%", {1, "key", 0, "name", "data", 2, 3, "e1", "e2", "c", "g"}, 1}}));

  Stream platforms;
  platforms.D(1).Zs({"PPC", "PSPC, HPC"}).Ds({0x0A11, 2}).Zs({"3.0", "1000.0"});
  EXPECT_EQ(LoadOnly(kSectionPlatforms, platforms).Platforms,
            (std::vector<TSetupPlatform>{{"PPC", "PSPC, HPC", 0x0A11, 2, "3.0", "1000.0"}}));
}

}  // namespace
}  // namespace kvb
