#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/hotsync_users_file.h"

namespace kvb {
namespace {

// Writes "users.dat" images the way the HotSync Manager lays out the parts that are read.
class UsersDatWriter {
 public:
  explicit UsersDatWriter(int count) : bytes_(13, 0xEE) { bytes_[0] = static_cast<uint8_t>(count); }

  UsersDatWriter& User(uint16_t number, const std::string& name, const std::string& folder) {
    bytes_.push_back(number & 0xFF);
    bytes_.push_back(number >> 8);
    bytes_.insert(bytes_.end(), {0x00, 0x00});
    Text(name);
    Text(folder);
    bytes_.push_back(0x07);
    return *this;
  }
  // Bytes HotSync keeps behind a user; 0x01 0x80 ends them.
  UsersDatWriter& Gap(std::vector<uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  std::vector<uint8_t> Bytes() const { return bytes_; }

 private:
  void Text(const std::string& text) {
    bytes_.push_back(static_cast<uint8_t>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
  }
  std::vector<uint8_t> bytes_;
};

TEST(HotSyncUsersFileTest, ReadsUsersSeparatedByTheMarker) {
  // A 0x01 followed by anything but 0x80 swallows that byte, so 0x01 0x01 0x80 is no
  // marker; the scan goes on to the next pair.
  const std::vector<uint8_t> data = UsersDatWriter(3)
                                        .User(1, "Anne Smith", "SmithA")
                                        .Gap({0x00, 0x01, 0x01, 0x80, 0x01, 0x80})
                                        .User(0x1234, "Bob", "Bob")
                                        .Gap({0x01, 0x02, 0x80, 0x55, 0x01, 0x80})
                                        .User(7, "carol", "Carol")
                                        .Bytes();
  const HotSyncUserList list = ReadHotSyncUsers(data, "BOB");
  ASSERT_EQ(list.Users.size(), 3u);
  EXPECT_EQ(list.Users[0].Number, 1);
  EXPECT_EQ(list.Users[0].Name, "Anne Smith");
  EXPECT_EQ(list.Users[0].Folder, "SmithA");
  EXPECT_EQ(list.Users[1].Number, 0x1234);
  EXPECT_EQ(list.Users[2].Folder, "Carol");
  EXPECT_EQ(list.CurrentUser, 1);
  EXPECT_EQ(ReadHotSyncUsers(data, "nobody").CurrentUser, 0);
}

TEST(HotSyncUsersFileTest, LongNamesAreCutAndEmbeddedNulsEndThem) {
  const std::string long_name(40, 'n');
  const std::vector<uint8_t> data =
      UsersDatWriter(1).User(2, long_name, std::string("Fold\0er", 7)).Bytes();
  const HotSyncUserList list = ReadHotSyncUsers(data, long_name);
  ASSERT_EQ(list.Users.size(), 1u);
  EXPECT_EQ(list.Users[0].Name, std::string(31, 'n'));
  EXPECT_EQ(list.Users[0].Folder, "Fold");
  EXPECT_EQ(list.CurrentUser, 0);
}

TEST(HotSyncUsersFileTest, DamagedFilesGiveTheUsersReadCompletely) {
  const std::vector<uint8_t> two =
      UsersDatWriter(2).User(1, "Anne", "A").Gap({0x01, 0x80}).User(2, "Bob", "B").Bytes();
  struct Case {
    const char* what;
    std::vector<uint8_t> data;
    size_t users;
  } cases[] = {
      {"empty", {}, 0},
      {"header only", std::vector<uint8_t>(13, 5), 0},
      {"count promises more", UsersDatWriter(200).User(1, "Anne", "A").Bytes(), 1},
      {"no marker behind the first", UsersDatWriter(2).User(1, "Anne", "A").Bytes(), 1},
      {"cut inside the second", std::vector<uint8_t>(two.begin(), two.end() - 3), 1},
      {"name longer than the file", UsersDatWriter(1).Gap({1, 0, 0, 0, 200, 'x'}).Bytes(), 0},
      {"count zero", UsersDatWriter(0).User(1, "Anne", "A").Bytes(), 0},
      {"complete", two, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadHotSyncUsers(c.data, "").Users.size(), c.users) << c.what;
}

}  // namespace
}  // namespace kvb
