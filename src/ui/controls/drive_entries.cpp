#include "ui/controls/drive_entries.h"

#include "base/text.h"

namespace kvb {

std::vector<char> DriveLetters(uint32_t mask) {
  std::vector<char> letters;
  for (int bit = 0; bit < 26; ++bit) {
    if (mask & (1u << bit))
      letters.push_back(static_cast<char>('a' + bit));
  }
  return letters;
}

std::string DriveText(const DriveInfo& drive, TextCase text_case) {
  const std::string letter(
      1, text_case == TextCase::kUpperCase ? UpperAscii(drive.Letter) : drive.Letter);
  switch (drive.Kind) {
    case DriveKind::kRemovable:
      return letter + ":";
    case DriveKind::kNetwork:
      return letter + ": " + drive.ConnectionName;
    default:
      return letter + ": " + drive.VolumeLabel;
  }
}

std::string DrivePictureName(DriveKind kind, bool newer_shell) {
  const char* picture = "HARD";
  switch (kind) {
    case DriveKind::kRemovable:
      picture = "FLOPPY";
      break;
    case DriveKind::kNetwork:
      picture = "NETWORK";
      break;
    case DriveKind::kCdRom:
      picture = "CDROM";
      break;
    case DriveKind::kRam:
      picture = "RAM";
      break;
    case DriveKind::kFixed:
    case DriveKind::kUnknown:
      break;
  }
  return std::string("NFC_") + picture + (newer_shell ? "95" : "");
}

}  // namespace kvb
