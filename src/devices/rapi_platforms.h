// The package's CE platform table and how a connected device is matched against it:
// processor codes, the processor families of the device agents, version limits and
// incompatible platform names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "setupdata/records.h"

namespace kvb {

// One CE platform of the package, with its version texts parsed.
struct TRapiDevice {
  std::string Name;
  std::string IncompatiblePlatforms;  // comma-separated platform names
  uint16_t CpuMask = 0;               // bit n set: processor code n supported
  uint16_t SecondCpuMask = 0;         // bit n set: code n runs the platform's native code
  int32_t MinMajor = 0;
  int32_t MinMinor = 0;
  int32_t MaxMajor = 0;
  int32_t MaxMinor = 0;
};

// What the platform test needs to know about the connected device.
struct DeviceFacts {
  int ProcessorCode = 0;  // see ProcessorCode()
  std::string Platform;   // as the device agent reported it
  int32_t Major = 0;
  int32_t Minor = 0;
};

// The families of processors for which a device agent is carried.
enum class AgentFamily { kNone, kArm, kMips, kSh3, kSh4 };

// Versions are "major.minor"; a missing or non-numeric part counts as 0.
TRapiDevice MakeRapiDevice(const TSetupPlatform& platform);
std::vector<TRapiDevice> MakeRapiDevices(const std::vector<TSetupPlatform>& platforms);

// The processor code (1 to 9) of a SYSTEM_INFO processor type, 0 for an unknown type;
// its name ("ARM720", "SH3", "STRONGARM", ...), empty for an unknown type.
int ProcessorCode(uint32_t processor_type);
std::string ProcessorName(uint32_t processor_type);
AgentFamily AgentFamilyOf(int processor_code);

// Whether the device's platform name is excluded by a comma-separated list of names.
// Each listed name (blanks removed, upper case) excludes itself, its stem without
// trailing digits, and that stem followed by 1 to 50.
bool IsIncompatiblePlatform(std::string_view device_platform, std::string_view list);

// The processor bit, the incompatible names and the four version limits (each part
// compared on its own) all accept the device.
bool PlatformMatches(const TRapiDevice& entry, const DeviceFacts& device);

// The last entry of the table that matches the device; empty when none does.
std::string MatchingPlatformName(const std::vector<TRapiDevice>& table, const DeviceFacts& device);

// Whether the entry named `platform_name` lists the device's processor in its second mask.
bool CpuIsNative(const std::vector<TRapiDevice>& table,
                 std::string_view platform_name,
                 int processor_code);

}  // namespace kvb
