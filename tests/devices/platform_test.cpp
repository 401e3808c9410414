#include <gtest/gtest.h>

#include "devices/rapi_platforms.h"

namespace kvb {
namespace {

constexpr uint32_t kArm = 0x020E;  // codes 1, 2, 3, 9
constexpr uint32_t kSh3 = 1u << 4;
constexpr uint32_t kMips = 0x01C0;  // codes 6, 7, 8

TRapiDevice Entry(const char* name,
                  const char* incompatible,
                  uint32_t mask,
                  const char* min,
                  const char* max) {
  return MakeRapiDevice({name, incompatible, mask, mask, min, max});
}

TEST(PlatformTest, ProcessorTypesMapToCodesNamesAndAgentFamilies) {
  struct Case {
    uint32_t type;
    int code;
    const char* name;
    AgentFamily family;
  } cases[] = {
      {1824, 1, "ARM720", AgentFamily::kArm},    {2080, 2, "ARM820", AgentFamily::kArm},
      {2336, 3, "ARM920", AgentFamily::kArm},    {10003, 4, "SH3", AgentFamily::kSh3},
      {10005, 5, "SH4", AgentFamily::kSh4},      {2000, 6, "MIPS2000", AgentFamily::kMips},
      {3000, 7, "MIPS3000", AgentFamily::kMips}, {4000, 8, "MIPS4000", AgentFamily::kMips},
      {2577, 9, "STRONGARM", AgentFamily::kArm}, {586, 0, "", AgentFamily::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProcessorCode(c.type), c.code) << c.type;
    EXPECT_EQ(ProcessorName(c.type), c.name) << c.type;
    EXPECT_EQ(AgentFamilyOf(ProcessorCode(c.type)), c.family) << c.type;
  }
}

TEST(PlatformTest, VersionTextsParseIntoSeparateParts) {
  const TRapiDevice hpc = Entry("HPC", "", kSh3, "2.11", "1000.99");
  EXPECT_EQ(hpc.MinMajor, 2);
  EXPECT_EQ(hpc.MinMinor, 11);
  EXPECT_EQ(hpc.MaxMajor, 1000);
  EXPECT_EQ(hpc.MaxMinor, 99);
  const TRapiDevice odd = Entry("X", "", 0, "", "x.5");
  EXPECT_EQ(odd.MinMajor, 0);
  EXPECT_EQ(odd.MaxMajor, 0);
  EXPECT_EQ(odd.MaxMinor, 5);
}

TEST(PlatformTest, IncompatibleNamesCoverTheirStemAndNumbersUpToFifty) {
  struct Case {
    const char* device;
    const char* list;
    bool excluded;
  } cases[] = {
      {"HPC", "HPC, HPC Pro", true},
      {"HPC2", "HPC, HPC Pro", true},
      {"HPC Pro 7", "HPC, HPC Pro", true},
      {"hpcpro7", "HPC, HPC Pro", true},
      {"HPC51", "HPC", false},
      {"HPC07", "HPC", false},
      {"PALMPC", "Palm PC2", true},
      {"PalmPC50", "Palm PC2", true},
      {"PALMPC2", "Palm PC2", true},
      {"PocketPC", "Palm PC2", false},
      {"HPC99", "HPC99", true},
      {"SmartPhone", "", false},
      {"", " , ,", false},
      {"PocketPC", "HPC,PocketPC", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsIncompatiblePlatform(c.device, c.list), c.excluded) << c.device << " / " << c.list;
}

TEST(PlatformTest, MatchingTestsProcessorNamesAndEachVersionPart) {
  const TRapiDevice hpc = Entry("HPC", "Jupiter", kSh3 | kMips, "2.11", "3.99");
  struct Case {
    int code;
    const char* platform;
    int major, minor;
    bool matches;
  } cases[] = {
      {4, "HPC", 2, 11, true},      {6, "HPC", 3, 20, true},
      {1, "HPC", 3, 20, false},      // ARM not in the mask
      {4, "HPC", 3, 0, false},       // 0 < 11: parts compare separately
      {4, "Jupiter", 3, 20, false},  // incompatible
      {4, "HPC", 4, 20, false},      // above the major limit
      {0, "HPC", 3, 20, false},      // unknown processor
      {16, "HPC", 3, 20, false},     // codes above 15 never match
  };
  for (const Case& c : cases) {
    const DeviceFacts device{c.code, c.platform, c.major, c.minor};
    EXPECT_EQ(PlatformMatches(hpc, device), c.matches)
        << c.code << " " << c.platform << " " << c.major << "." << c.minor;
  }
}

TEST(PlatformTest, TheLastMatchingEntryNamesThePlatformAndItsSecondMaskSaysNative) {
  const std::vector<TRapiDevice> table = {
      Entry("PPC", "HPC, Jupiter", kArm | kSh3 | kMips, "3.0", "1000.99"),
      MakeRapiDevice({"PPC2002", "HPC, Jupiter, SmartPhone", kArm, kArm, "3.0", "3.99"}),
      MakeRapiDevice({"WCENET", "", kArm | kSh3, kArm, "4.0", "5.99"}),
  };
  const DeviceFacts arm_ppc{9, "PocketPC", 3, 0};
  EXPECT_EQ(MatchingPlatformName(table, arm_ppc), "PPC2002");
  EXPECT_TRUE(CpuIsNative(table, "PPC2002", 9));
  const DeviceFacts sh3_net{4, "CEPC", 4, 20};
  EXPECT_EQ(MatchingPlatformName(table, sh3_net), "WCENET");
  EXPECT_FALSE(CpuIsNative(table, "WCENET", 4));
  const DeviceFacts hpc{4, "HPC", 3, 0};
  EXPECT_EQ(MatchingPlatformName(table, hpc), "");
  EXPECT_FALSE(CpuIsNative(table, "", 4));
  EXPECT_FALSE(CpuIsNative(table, "PPC2002", -1));
}

}  // namespace
}  // namespace kvb
