// The HotSync Manager's user file "users.dat": the users and their folder names. Only
// the fields the installation needs are read; the rest of the file belongs to HotSync.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kvb {

inline constexpr size_t kHotSyncNameLength = 31;  // longer names and folders are cut

struct HotSyncUser {
  uint16_t Number = 0;
  std::string Name;
  std::string Folder;  // below the HotSync data folder
};

struct HotSyncUserList {
  std::vector<HotSyncUser> Users;
  int CurrentUser = 0;  // index of the user named `last_user_name`, 0 when none is
};

// Reads the users of a "users.dat" image. Byte 0 is the user count; the first record
// starts at offset 13: a 16-bit number, two unused bytes, the name and the folder name
// (a length byte and that many characters each) and one more byte. Between two records
// the bytes are skipped up to a 0x01 0x80 pair. Damage never fails the read: a file
// that ends early or promises more users than it holds gives the users read completely.
HotSyncUserList ReadHotSyncUsers(std::span<const uint8_t> data, std::string_view last_user_name);

}  // namespace kvb
