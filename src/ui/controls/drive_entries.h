// The drive list's entries, free of windows so that they are tested on the host: which
// drives the logical-drive mask names, their texts and their pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvb {

enum class DriveKind { kUnknown, kRemovable, kFixed, kNetwork, kCdRom, kRam };
enum class TextCase { kLowerCase, kUpperCase };

struct DriveInfo {
  char Letter = 'a';  // lower case
  DriveKind Kind = DriveKind::kUnknown;
  std::string VolumeLabel;     // fixed, CD-ROM, RAM and unknown drives
  std::string ConnectionName;  // network drives: the remote name
};

// The lower-case letters of the drives whose bits are set in `mask` (bit 0 = a), a to z.
std::vector<char> DriveLetters(uint32_t mask);

// The entry's text: a removable drive's letter and a colon only (the drive is not
// touched); a network drive's letter and connection name, any other drive's letter and
// volume label, through "%s: %s". The letter is upper case with TextCase::kUpperCase.
std::string DriveText(const DriveInfo& drive, TextCase text_case);

// The name of the drive picture resource: "NFC_" + the kind's picture ("HARD", "FLOPPY",
// "NETWORK", "CDROM", "RAM"), followed by "95" on newer shells.
std::string DrivePictureName(DriveKind kind, bool newer_shell);

}  // namespace kvb
