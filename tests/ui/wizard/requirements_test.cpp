#include "ui/wizard/requirements.h"

#include <gtest/gtest.h>

namespace kvb::test {
namespace {

constexpr uint32_t Version(uint32_t major, uint32_t minor, uint32_t build) {
  return major << 24 | minor << 16 | build;
}

MachineFacts Machine(bool nt, uint32_t version, uint16_t service_pack) {
  MachineFacts facts;
  facts.IsNT = nt;
  facts.PackedVersion = version;
  facts.ServicePack = service_pack;
  facts.ScreenWidth = 1024;
  facts.ScreenHeight = 768;
  facts.ColorBits = 32;
  facts.MemoryMB = 512;
  return facts;
}

TEST(RequirementsTest, VersionLimitsOnNtCompareServicePacksOfEqualVersions) {
  const uint32_t xp = Version(5, 1, 2600);
  const TOsLimit xp_sp2{xp, 0x0200};
  EXPECT_TRUE(MinimumVersionMet(xp_sp2, Machine(true, xp, 0x0200)));
  EXPECT_TRUE(MinimumVersionMet(xp_sp2, Machine(true, xp, 0x0300)));
  EXPECT_FALSE(MinimumVersionMet(xp_sp2, Machine(true, xp, 0x0100)));
  EXPECT_TRUE(MinimumVersionMet(xp_sp2, Machine(true, Version(6, 0, 6000), 0)));
  EXPECT_FALSE(MinimumVersionMet(xp_sp2, Machine(true, Version(5, 0, 2195), 0x0400)));
  EXPECT_TRUE(MinimumVersionMet({xp, 0}, Machine(true, xp, 0)));

  EXPECT_TRUE(MaximumVersionMet(xp_sp2, Machine(true, xp, 0x0100)));
  EXPECT_FALSE(MaximumVersionMet(xp_sp2, Machine(true, xp, 0x0300)));
  EXPECT_FALSE(MaximumVersionMet(xp_sp2, Machine(true, Version(6, 0, 6000), 0)));
  EXPECT_TRUE(MaximumVersionMet({xp, 0}, Machine(true, xp, 0x0300)));
}

TEST(RequirementsTest, VersionLimitsElsewhereIgnoreServicePacksAndZeroIsAlwaysMet) {
  const uint32_t me = Version(4, 90, 3000);
  EXPECT_TRUE(MinimumVersionMet({me, 0x0200}, Machine(false, me, 0)));
  EXPECT_TRUE(MaximumVersionMet({me, 0x0100}, Machine(false, me, 0x0300)));
  EXPECT_FALSE(MinimumVersionMet({me, 0}, Machine(false, Version(4, 10, 1998), 0)));
  EXPECT_TRUE(MinimumVersionMet({0, 0x0500}, Machine(true, Version(4, 0, 1381), 0)));
  EXPECT_TRUE(MaximumVersionMet({0, 0}, Machine(false, Version(9, 0, 0), 0)));
}

TEST(RequirementsTest, ChecksRunInOrderAndGiveTheirMessageAndCode) {
  TSetupData data;
  data.OsLimits[2] = {Version(5, 0, 0), 0};
  data.MinimumRequirements = {5, 16, 256};
  MachineFacts good = Machine(true, Version(5, 1, 2600), 0);

  EXPECT_FALSE(CheckRequirements(data, false, false, good));
  EXPECT_FALSE(CheckRequirements(data, true, true, good));

  struct Case {
    const char* name;
    bool in_volumes;
    bool volume_exists;
    MachineFacts machine;
    int message;
    const char* code;
  };
  MachineFacts old_windows = good;
  old_windows.PackedVersion = Version(4, 0, 1381);
  MachineFacts small_screen = good;
  small_screen.ScreenWidth = 800;
  small_screen.ScreenHeight = 600;
  MachineFacts few_colours = good;
  few_colours.ColorBits = 8;
  MachineFacts little_memory = good;
  little_memory.MemoryMB = 255;
  MachineFacts everything_wrong = old_windows;
  everything_wrong.ColorBits = 4;
  const Case cases[] = {
      {"volume missing", true, false, everything_wrong, kMessageVolumeMissing, "3"},
      {"old Windows", false, false, everything_wrong, kMessageWrongWindows, "4"},
      {"800 x 600 for code 5", false, false, small_screen, kMessageScreenTooSmall, "5"},
      {"8 bits for 16", false, false, few_colours, kMessageTooFewColors, "6"},
      {"255 MB for 256", false, false, little_memory, kMessageTooLittleMemory, "7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto failure = CheckRequirements(data, c.in_volumes, c.volume_exists, c.machine);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Message, c.message);
    EXPECT_EQ(failure->ErrorCode, c.code);
  }
}

TEST(RequirementsTest, ScreenCodesOutsideTheListAskNothing) {
  EXPECT_EQ(RequiredScreen(1).Width, 640);
  EXPECT_EQ(RequiredScreen(3).Height, 576);
  EXPECT_EQ(RequiredScreen(0).Width, 0);
  EXPECT_EQ(RequiredScreen(6).Height, 0);
}

}  // namespace
}  // namespace kvb::test
