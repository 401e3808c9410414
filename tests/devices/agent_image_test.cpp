// The device agents carried in the program, checked the way a CE loader would look at
// them, and the image reader against damaged files.
#include <gtest/gtest.h>

#include "ce_image.h"
#include "devices/device_agents.h"

namespace kvb {
namespace {

using cepe::CeImageFacts;
using cepe::ReadCeImage;

std::vector<uint8_t> Image(AgentFamily family) {
  const std::span<const uint8_t> image = DeviceAgentImage(family);
  return {image.begin(), image.end()};
}

TEST(AgentImageTest, EachFamilyHasACeExecutableForItsMachine) {
  const std::vector<std::string> imports = {"RegCreateKeyExW", "RegSetValueExW", "RegCloseKey",
                                            "SystemParametersInfoW", "KernelIoControl"};
  struct Case {
    AgentFamily family;
    uint16_t machine;
  } cases[] = {{AgentFamily::kArm, 0x01C0},
               {AgentFamily::kMips, 0x0166},
               {AgentFamily::kSh3, 0x01A2},
               {AgentFamily::kSh4, 0x01A6}};
  for (const Case& c : cases) {
    std::string error;
    const std::optional<CeImageFacts> facts = ReadCeImage(Image(c.family), error);
    ASSERT_TRUE(facts) << error;
    EXPECT_EQ(facts->Machine, c.machine);
    EXPECT_EQ(facts->Subsystem, cepe::kSubsystemWindowsCeGui);
    EXPECT_EQ(facts->ImageBase, cepe::kImageBase);
    EXPECT_TRUE(facts->EntryInCode);
    EXPECT_EQ(facts->ImportLibrary, "COREDLL.dll");
    EXPECT_EQ(facts->Imports, imports);
    EXPECT_EQ(facts->ImportTableRva, cepe::kImportRva);
  }
  EXPECT_TRUE(DeviceAgentImage(AgentFamily::kNone).empty());
}

TEST(AgentImageTest, TheWriterRefusesCodeThatDoesNotFit) {
  EXPECT_THROW(cepe::WriteCeImage(0x01C0, std::vector<uint8_t>(4097, 0), {"A"}),
               std::runtime_error);
  EXPECT_THROW(cepe::WriteCeImage(0x01C0, {1, 2}, {}), std::runtime_error);
  EXPECT_EQ(
      cepe::ImportNamesFromHeader("/* KVB_IMPORT(x) */\nKVB_IMPORT(A, int, ())\nKVB_IMPORT(B)"),
      (std::vector<std::string>{"A", "B"}));
}

TEST(AgentImageTest, DamagedImagesAreRefusedWithAReason) {
  const std::vector<uint8_t> good = cepe::WriteCeImage(0x01A6, {0x0B, 0x00, 0x09, 0x00}, {"F"});
  std::string error;
  ASSERT_TRUE(ReadCeImage(good, error)) << error;
  auto with = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> bad = good;
    bad[at] = value;
    return bad;
  };
  const std::vector<std::vector<uint8_t>> damaged = {
      {},
      std::vector<uint8_t>(good.begin(), good.begin() + 0x100),  // headers cut short
      std::vector<uint8_t>(good.begin(), good.end() - 0x200),    // import section missing
      with(0, 'X'),                                              // no MZ
      with(0x3F, 0x7F),                                          // PE header far outside
      with(0x40 + 4 + 20 + 96 + 8 + 1, 0x70),                    // import directory outside
      with(0x40 + 4 + 20 + 224 + 40 + 20 + 1, 0x40),             // .idata bytes outside
  };
  for (size_t i = 0; i < damaged.size(); ++i) {
    error.clear();
    EXPECT_FALSE(ReadCeImage(damaged[i], error)) << i;
    EXPECT_FALSE(error.empty()) << i;
  }
}

}  // namespace
}  // namespace kvb
