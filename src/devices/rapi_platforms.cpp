#include "devices/rapi_platforms.h"

#include "base/text.h"

namespace kvb {
namespace {

struct ProcessorEntry {
  uint32_t Type;
  const char* Name;
  int Code;
};

constexpr ProcessorEntry kProcessors[] = {
    {1824, "ARM720", 1},   {2080, "ARM820", 2},   {2336, "ARM920", 3},
    {10003, "SH3", 4},     {10005, "SH4", 5},     {2000, "MIPS2000", 6},
    {3000, "MIPS3000", 7}, {4000, "MIPS4000", 8}, {2577, "STRONGARM", 9},
};

const ProcessorEntry* FindProcessor(uint32_t type) {
  for (const ProcessorEntry& entry : kProcessors) {
    if (entry.Type == type)
      return &entry;
  }
  return nullptr;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The leading digits of `text` as a number (capped), 0 when it starts otherwise.
int32_t LeadingNumber(std::string_view text) {
  int64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c))
      break;
    value = value * 10 + (c - '0');
    if (value > INT32_MAX)
      return INT32_MAX;
  }
  return static_cast<int32_t>(value);
}

void ParseVersion(std::string_view text, int32_t& major, int32_t& minor) {
  const size_t dot = text.find('.');
  major = LeadingNumber(text.substr(0, dot));
  minor = dot == std::string_view::npos ? 0 : LeadingNumber(text.substr(dot + 1));
}

std::string PlatformKey(std::string_view name) {
  std::string key;
  for (char c : name) {
    if (c != ' ' && c != '\t')
      key += UpperAscii(c);
  }
  return key;
}

// `name` is `stem` followed by a number from 1 to 50 written without leading zeros.
bool IsNumberedStem(std::string_view name, std::string_view stem) {
  if (name.size() <= stem.size() || name.substr(0, stem.size()) != stem)
    return false;
  const std::string_view number = name.substr(stem.size());
  if (number.size() > 2 || number[0] == '0')
    return false;
  for (char c : number) {
    if (!IsDigit(c))
      return false;
  }
  const int value = LeadingNumber(number);
  return value >= 1 && value <= 50;
}

}  // namespace

TRapiDevice MakeRapiDevice(const TSetupPlatform& platform) {
  TRapiDevice device;
  device.Name = platform.Name;
  device.IncompatiblePlatforms = platform.IncompatiblePlatforms;
  device.CpuMask = static_cast<uint16_t>(platform.CpuMask);
  device.SecondCpuMask = static_cast<uint16_t>(platform.SecondCpuMask);
  ParseVersion(platform.MinVersion, device.MinMajor, device.MinMinor);
  ParseVersion(platform.MaxVersion, device.MaxMajor, device.MaxMinor);
  return device;
}

std::vector<TRapiDevice> MakeRapiDevices(const std::vector<TSetupPlatform>& platforms) {
  std::vector<TRapiDevice> devices;
  devices.reserve(platforms.size());
  for (const TSetupPlatform& platform : platforms)
    devices.push_back(MakeRapiDevice(platform));
  return devices;
}

int ProcessorCode(uint32_t processor_type) {
  const ProcessorEntry* entry = FindProcessor(processor_type);
  return entry ? entry->Code : 0;
}

std::string ProcessorName(uint32_t processor_type) {
  const ProcessorEntry* entry = FindProcessor(processor_type);
  return entry ? entry->Name : "";
}

AgentFamily AgentFamilyOf(int processor_code) {
  switch (processor_code) {
    case 1:
    case 2:
    case 3:
    case 9:
      return AgentFamily::kArm;
    case 4:
      return AgentFamily::kSh3;
    case 5:
      return AgentFamily::kSh4;
    case 6:
    case 7:
    case 8:
      return AgentFamily::kMips;
    default:
      return AgentFamily::kNone;
  }
}

bool IsIncompatiblePlatform(std::string_view device_platform, std::string_view list) {
  const std::string device = PlatformKey(device_platform);
  for (const std::string& piece : SplitText(list, ",")) {
    const std::string listed = PlatformKey(piece);
    if (listed.empty())
      continue;
    std::string_view stem = listed;
    while (!stem.empty() && IsDigit(stem.back()))
      stem.remove_suffix(1);
    if (device == listed || device == stem || IsNumberedStem(device, stem))
      return true;
  }
  return false;
}

bool PlatformMatches(const TRapiDevice& entry, const DeviceFacts& device) {
  if (device.ProcessorCode < 0 || device.ProcessorCode > 15 ||
      (entry.CpuMask & (1u << device.ProcessorCode)) == 0) {
    return false;
  }
  if (IsIncompatiblePlatform(device.Platform, entry.IncompatiblePlatforms))
    return false;
  return device.Major >= entry.MinMajor && device.Minor >= entry.MinMinor &&
         device.Major <= entry.MaxMajor && device.Minor <= entry.MaxMinor;
}

std::string MatchingPlatformName(const std::vector<TRapiDevice>& table, const DeviceFacts& device) {
  for (auto entry = table.rbegin(); entry != table.rend(); ++entry) {
    if (PlatformMatches(*entry, device))
      return entry->Name;
  }
  return {};
}

bool CpuIsNative(const std::vector<TRapiDevice>& table,
                 std::string_view platform_name,
                 int processor_code) {
  if (processor_code < 0 || processor_code > 15)
    return false;
  for (const TRapiDevice& entry : table) {
    if (entry.Name == platform_name)
      return (entry.SecondCpuMask & (1u << processor_code)) != 0;
  }
  return false;
}

}  // namespace kvb
