// The volume of a drive as the drive and folder lists read it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kvb {

struct VolumeFacts {
  std::string Label;
  DWORD Flags = 0;  // FS_CASE_IS_PRESERVED, FS_CASE_SENSITIVE ...
};

// The label and file-system flags of the volume at `root` ("C:\"); nullopt when it cannot
// be read. An empty drive does not bring up the system's "no disk" box.
std::optional<VolumeFacts> ReadVolume(const std::string& root);

}  // namespace kvb
