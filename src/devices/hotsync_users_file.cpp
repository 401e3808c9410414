#include "devices/hotsync_users_file.h"

#include <optional>

#include "base/text.h"

namespace kvb {
namespace {

constexpr size_t kFirstRecord = 13;

class UserFileReader {
 public:
  explicit UserFileReader(std::span<const uint8_t> data) : data_(data) {}

  size_t Left() const { return data_.size() - pos_; }

  std::optional<uint8_t> Byte() {
    if (Left() < 1)
      return std::nullopt;
    return data_[pos_++];
  }

  bool Skip(size_t count) {
    if (Left() < count)
      return false;
    pos_ += count;
    return true;
  }

  // A length byte and that many characters.
  std::optional<std::string> Text() {
    const std::optional<uint8_t> length = Byte();
    if (!length || Left() < *length)
      return std::nullopt;
    std::string text(reinterpret_cast<const char*>(data_.data() + pos_), *length);
    pos_ += *length;
    return text;
  }

  // Moves behind the next 0x01 0x80 pair; false when the data ends first.
  bool SkipToNextRecord() {
    for (;;) {
      const std::optional<uint8_t> b = Byte();
      if (!b)
        return false;
      if (*b != 0x01)
        continue;
      const std::optional<uint8_t> next = Byte();
      if (!next)
        return false;
      if (*next == 0x80)
        return true;
    }
  }

 private:
  std::span<const uint8_t> data_;
  size_t pos_ = kFirstRecord;
};

// The name as HotSync keeps it: up to its first NUL, at most 31 characters.
std::string StoredName(const std::string& text) {
  std::string name = text.substr(0, text.find('\0'));
  if (name.size() > kHotSyncNameLength)
    name.resize(kHotSyncNameLength);
  return name;
}

std::optional<HotSyncUser> ReadUser(UserFileReader& in, std::string& full_name) {
  const std::optional<uint8_t> low = in.Byte();
  const std::optional<uint8_t> high = in.Byte();
  if (!high || !in.Skip(2))
    return std::nullopt;
  std::optional<std::string> name = in.Text();
  if (!name)
    return std::nullopt;
  const std::optional<std::string> folder = in.Text();
  if (!folder || !in.Skip(1))
    return std::nullopt;
  full_name = *name;
  HotSyncUser user;
  user.Number = static_cast<uint16_t>(*low | (*high << 8));
  user.Name = StoredName(*name);
  user.Folder = StoredName(*folder);
  return user;
}

}  // namespace

HotSyncUserList ReadHotSyncUsers(std::span<const uint8_t> data, std::string_view last_user_name) {
  HotSyncUserList list;
  if (data.size() <= kFirstRecord)
    return list;
  const int count = data[0];
  UserFileReader in(data);
  for (int i = 0; i < count; ++i) {
    std::string full_name;
    std::optional<HotSyncUser> user = ReadUser(in, full_name);
    if (!user)
      break;
    if (SameText(full_name, last_user_name))
      list.CurrentUser = static_cast<int>(list.Users.size());
    list.Users.push_back(std::move(*user));
    if (i + 1 < count && !in.SkipToNextRecord())
      break;
  }
  return list;
}

}  // namespace kvb
