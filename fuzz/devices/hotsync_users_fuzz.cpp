// Reads arbitrary bytes as a HotSync "users.dat". The first input byte (when present)
// picks the last user's name from the names read, so the current-user search is driven
// too. Every user read must respect the name limits, and the current user must be one
// of them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "devices/hotsync_users_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kvb;
  const std::span<const uint8_t> bytes(data, size);
  HotSyncUserList first = ReadHotSyncUsers(bytes, "");
  std::string last_user;
  if (!first.Users.empty() && size > 0)
    last_user = first.Users[data[0] % first.Users.size()].Name;
  const HotSyncUserList list = ReadHotSyncUsers(bytes, last_user);
  if (list.Users.size() != first.Users.size() || list.Users.size() > 255)
    abort();
  for (const HotSyncUser& user : list.Users) {
    if (user.Name.size() > kHotSyncNameLength || user.Folder.size() > kHotSyncNameLength)
      abort();
  }
  if (list.CurrentUser < 0 ||
      (!list.Users.empty() && static_cast<size_t>(list.CurrentUser) >= list.Users.size())) {
    abort();
  }
  return 0;
}
