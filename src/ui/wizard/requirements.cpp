#include "ui/wizard/requirements.h"

namespace kvb {

bool MinimumVersionMet(const TOsLimit& minimum, const MachineFacts& machine) {
  if (minimum.Version == 0)
    return true;
  if (!machine.IsNT)
    return machine.PackedVersion >= minimum.Version;
  if (machine.PackedVersion != minimum.Version)
    return machine.PackedVersion > minimum.Version;
  return minimum.ServicePack == 0 || machine.ServicePack >= minimum.ServicePack;
}

bool MaximumVersionMet(const TOsLimit& maximum, const MachineFacts& machine) {
  if (maximum.Version == 0)
    return true;
  if (!machine.IsNT)
    return machine.PackedVersion <= maximum.Version;
  if (machine.PackedVersion != maximum.Version)
    return machine.PackedVersion < maximum.Version;
  return maximum.ServicePack == 0 || machine.ServicePack <= maximum.ServicePack;
}

ScreenRequirement RequiredScreen(uint8_t code) {
  switch (code) {
    case 1:
      return {640, 480};
    case 2:
      return {720, 480};
    case 3:
      return {720, 576};
    case 4:
      return {800, 600};
    case 5:
      return {1024, 768};
    default:
      return {};
  }
}

std::optional<RequirementFailure> CheckRequirements(const TSetupData& data,
                                                    bool archive_in_volumes,
                                                    bool first_volume_exists,
                                                    const MachineFacts& machine) {
  if (archive_in_volumes && !first_volume_exists)
    return RequirementFailure{kMessageVolumeMissing, "3"};
  if (!MinimumVersionMet(data.OsLimits[2], machine) ||
      !MaximumVersionMet(data.OsLimits[3], machine)) {
    return RequirementFailure{kMessageWrongWindows, "4"};
  }
  const TSetupMinimumRequeriments& wanted = data.MinimumRequirements;
  const ScreenRequirement screen = RequiredScreen(wanted.MinScreen);
  if (machine.ScreenWidth < screen.Width || machine.ScreenHeight < screen.Height)
    return RequirementFailure{kMessageScreenTooSmall, "5"};
  if (machine.ColorBits < static_cast<int>(wanted.MinColorBits))
    return RequirementFailure{kMessageTooFewColors, "6"};
  if (machine.MemoryMB < wanted.MinMemoryMB)
    return RequirementFailure{kMessageTooLittleMemory, "7"};
  return std::nullopt;
}

}  // namespace kvb
