// The device agent programs carried in the setup program: small Windows CE executables,
// one per processor family, that report the device's platform name, serial number and
// XScale processor through its registry (built from src/devices/agent by the build).
#pragma once

#include <cstdint>
#include <span>

#include "devices/rapi_platforms.h"

namespace kvb {

// The agent image of the family; empty for AgentFamily::kNone.
std::span<const uint8_t> DeviceAgentImage(AgentFamily family);

}  // namespace kvb
