// The device steps of an installation on this desktop: the CE Application Manager's
// description files and its start, Palm files handed to HotSync users and the HotSync
// conduits. Whoever creates the installation engine (the wizard's installation run, the
// tests' install_run) gives it the object MakeDeviceSteps returns.
#pragma once

#include <memory>

#include "install/device_steps.h"

namespace kvb {

// Device steps over ActiveSync's Application Manager and the HotSync Manager found on
// this desktop now (HotSync is looked up when the object is made, so its users are the
// ones listed at the time of the installation).
std::unique_ptr<DeviceSteps> MakeDeviceSteps();

}  // namespace kvb
