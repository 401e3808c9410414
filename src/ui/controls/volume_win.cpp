#include "ui/controls/volume_win.h"

namespace kvb {

std::optional<VolumeFacts> ReadVolume(const std::string& root) {
  char label[MAX_PATH + 1] = {};
  DWORD flags = 0;
  const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS);
  const BOOL read = GetVolumeInformationA(root.c_str(), label, sizeof(label), nullptr, nullptr,
                                          &flags, nullptr, 0);
  SetErrorMode(old_mode);
  if (!read)
    return std::nullopt;
  return VolumeFacts{label, flags};
}

}  // namespace kvb
