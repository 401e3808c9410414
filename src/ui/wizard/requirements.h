// The machine requirements a package sets, checked when the wizard is created: the
// first volume file, the Windows version, the screen size, the colour depth and the
// memory. Portable; the wizard gathers the facts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "setupdata/setup_data.h"

namespace kvb {

// The running system as the checks see it.
struct MachineFacts {
  bool IsNT = false;
  uint32_t PackedVersion = 0;  // major << 24 | minor << 16 | build
  uint16_t ServicePack = 0;    // major * 256 + minor
  int ScreenWidth = 0;
  int ScreenHeight = 0;
  int ColorBits = 0;
  uint32_t MemoryMB = 0;  // total physical memory / 1,000,000
};

// A failed check: the message to show (with "<file>" to replace for the volume file)
// and the error code for %ErrorCode%.
struct RequirementFailure {
  int Message = 0;
  std::string ErrorCode;
};

// Minimum and maximum Windows version: entries 3 and 4 of the limits. A zero version is
// always met. On NT an equal version also compares service packs (0 asks for none);
// elsewhere service packs are not looked at.
bool MinimumVersionMet(const TOsLimit& minimum, const MachineFacts& machine);
bool MaximumVersionMet(const TOsLimit& maximum, const MachineFacts& machine);

// The screen a requirement code 1 to 5 asks for (640 x 480 ... 1,024 x 768); other codes
// ask nothing and give 0 x 0.
struct ScreenRequirement {
  int Width = 0;
  int Height = 0;
};
ScreenRequirement RequiredScreen(uint8_t code);

// The first check that fails, in the order volume file, version, screen, colour depth,
// memory; nullopt when all pass. `first_volume_exists` is asked only for packages whose
// archive lies in volume files.
std::optional<RequirementFailure> CheckRequirements(const TSetupData& data,
                                                    bool archive_in_volumes,
                                                    bool first_volume_exists,
                                                    const MachineFacts& machine);

inline constexpr int kMessageVolumeMissing = 19;
inline constexpr int kMessageWrongWindows = 18;
inline constexpr int kMessageScreenTooSmall = 54;
inline constexpr int kMessageTooFewColors = 55;
inline constexpr int kMessageTooLittleMemory = 56;

}  // namespace kvb
