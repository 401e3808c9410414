#include "platforms.h"

namespace kvb::pack {
namespace {

// Processor bits: 1-3 and 9 the ARM family, 4 SH3, 5 SH4, 6-8 MIPS.
constexpr uint32_t kArm = 0x20E, kSh3 = 0x010, kSh4 = 0x020, kMips = 0x1C0;

}  // namespace

const std::vector<TSetupPlatform>& KnownPlatforms() {
  // Masks: the processors each platform shipped on; the second mask marks the ones whose
  // native code the package's CAB files target. Versions bound major and minor separately.
  static const std::vector<TSetupPlatform> kPlatforms = {
      {"HPC", "", kArm | kSh3 | kSh4 | kMips, kSh3 | kMips, "2.0", "2.11"},
      {"HPC2000", "", kArm | kMips, kArm, "3.0", "3.9"},
      {"PSPC", "HPC, HPC Pro", kSh3 | kMips, kMips, "2.0", "2.11"},
      {"BE300", "Palm PC2, PocketPC", kMips, kMips, "3.0", "3.9"},
      {"PPC3", "HPC, Jupiter", kArm | kSh3 | kMips, kArm, "3.0", "3.9"},
      {"SP2002", "PocketPC, HPC", kArm, kArm, "3.0", "3.9"},
      {"SP2003", "PocketPC, HPC", kArm, kArm, "4.0", "4.21"},
      {"WCENET", "", kArm | kSh3 | kSh4 | kMips, kArm | kSh4 | kMips, "4.0", "5.99"},
      {"PPC2002", "HPC, Jupiter, Palm PC2, SmartPhone", kArm, kArm, "3.0", "3.99"},
      {"PPC", "HPC, Jupiter, Palm PC2", kArm | kSh3 | kMips, kArm, "3.0", "1000.99"},
  };
  return kPlatforms;
}

std::optional<TSetupPlatform> FindKnownPlatform(std::string_view name) {
  for (const TSetupPlatform& p : KnownPlatforms()) {
    if (p.Name == name)
      return p;
  }
  return std::nullopt;
}

}  // namespace kvb::pack
