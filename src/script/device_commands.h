// Shared by the device command files.
#pragma once

namespace kvb {

class CommandContext;
class DeviceAccessor;

// The device accessor once a device is connected (probing and connecting when needed);
// null without a device.
DeviceAccessor* ConnectedDevice(CommandContext& c);

}  // namespace kvb
