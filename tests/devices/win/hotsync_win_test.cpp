// THotSync in a HotSync installation made by the test: the registry keys under this
// process's own HKEY_CURRENT_USER (a scratch key standing in for it) and a "users.dat"
// written from the parts of the file that are read.
#include <shlwapi.h>

#include <gtest/gtest.h>

#include "devices/hotsync_win.h"
#include "devices/win/standin_support.h"
#include "vars/reg_key_win.h"

namespace kvb {
namespace {

// While alive, HKEY_CURRENT_USER of this process is an empty scratch key.
class ScratchCurrentUser {
 public:
  ScratchCurrentUser()
      : path_("Software\\KvbTests\\hkcu-" + std::to_string(GetCurrentProcessId())) {
    SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, key_);
  }
  ~ScratchCurrentUser() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(key_);
    SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
  }

 private:
  std::string path_;
  HKEY key_ = nullptr;
};

void SetText(const std::string& key, const char* name, const std::string& value) {
  RegKey k;
  ASSERT_EQ(k.Create(HKEY_CURRENT_USER, key, KEY_ALL_ACCESS), ERROR_SUCCESS);
  RegSetValueExA(k.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

std::optional<DWORD> Dword(const std::string& key, const char* name) {
  RegKey k;
  DWORD value = 0;
  if (k.Open(HKEY_CURRENT_USER, key, KEY_READ) != ERROR_SUCCESS ||
      k.ReadDword(name, value) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

std::string Text(const std::string& key, const char* name) {
  RegKey k;
  std::string value;
  if (k.Open(HKEY_CURRENT_USER, key, KEY_READ) == ERROR_SUCCESS)
    k.ReadString(name, value);
  return value;
}

std::string UsersDat(const std::vector<std::pair<std::string, std::string>>& users) {
  std::string data(13, '\0');
  data[0] = static_cast<char>(users.size());
  uint16_t number = 100;
  for (const auto& [name, folder] : users) {
    data += static_cast<char>(number & 0xFF);
    data += static_cast<char>(number >> 8);
    data += std::string(2, '\0') + static_cast<char>(name.size()) + name +
            static_cast<char>(folder.size()) + folder + '\x05';
    data += "\x02\x01\x80";
    ++number;
  }
  return data;
}

const char kBase[] = "Software\\Palm Computing\\Pilot Desktop\\";

TEST(HotSyncWinTest, DetectsUsersInstallsForThemAndRegistersConduits) {
  ScratchCurrentUser hkcu;
  THotSync hotsync;
  EXPECT_FALSE(hotsync.DetectHotSync());
  EXPECT_EQ(hotsync.UserCount(), 0);
  EXPECT_FALSE(hotsync.RemoveConduit("KvbT"));

  StandinDevice scratch("");  // a scratch folder for the HotSync data
  const std::string core = scratch.Folder() + "\\Palm";
  CreateDirectoryA(core.c_str(), nullptr);
  WriteAll(core + "\\users.dat", UsersDat({{"Anne Smith", "SmithA"}, {"Bob", "Bob"}}));
  SetText(std::string(kBase) + "Core", "Path", core);
  SetText(std::string(kBase) + "Core", "HotSyncPath", "C:\\Palm\\HotSync.exe");
  SetText(std::string(kBase) + "Preferences", "LastUserName", "bob");
  RegKey manager;
  manager.Create(HKEY_CURRENT_USER, std::string(kBase) + "HotSync Manager", KEY_ALL_ACCESS);

  ASSERT_TRUE(hotsync.DetectHotSync());
  ASSERT_EQ(hotsync.UserCount(), 2);
  EXPECT_EQ(hotsync.UserName(0), "Anne Smith");
  EXPECT_EQ(hotsync.UserNumber(1), 101);
  EXPECT_EQ(hotsync.CurrentUserName(), "Bob");
  EXPECT_EQ(hotsync.HotSyncFolder(), "C:\\Palm\\");
  EXPECT_EQ(hotsync.FindUser("ANNE SMITH"), 0);
  EXPECT_EQ(hotsync.UserName(2), "");

  // A Palm file handed to both users lands in both install folders with both flags set.
  const std::string prc = scratch.Folder() + "\\tides.prc";
  WriteAll(prc, "PRC");
  EXPECT_TRUE(hotsync.InstallForUser("Anne Smith", prc));
  EXPECT_TRUE(hotsync.InstallForUser("bob", prc));
  EXPECT_FALSE(hotsync.InstallForUser("Nobody", prc));
  EXPECT_EQ(ReadAll(core + "\\SmithA\\Install\\tides.prc"), "PRC");
  EXPECT_EQ(ReadAll(core + "\\Bob\\Install\\tides.prc"), "PRC");
  EXPECT_EQ(Dword(std::string(kBase) + "HotSync Manager", "Install100"), 1u);
  EXPECT_EQ(Dword(std::string(kBase) + "HotSync Manager", "Install101"), 1u);
  EXPECT_FALSE(hotsync.InstallForUser("Bob", scratch.Folder() + "\\missing.prc"));

  // Registering a creator again replaces its key; the new one takes the lowest free number.
  THotSyncConduit tide;
  tide.Creator = "KvbT";
  tide.ConduitFile = "%Dir%\\tide.dll";
  tide.Priority = 2;
  THotSyncConduit other = tide;
  other.Creator = "Othr";
  auto expand = [](const std::string& t) { return t == "%Dir%\\tide.dll" ? "C:\\t.dll" : t; };
  ASSERT_TRUE(hotsync.RegisterConduit(other, expand));
  ASSERT_TRUE(hotsync.RegisterConduit(tide, expand));
  EXPECT_EQ(Text(std::string(kBase) + "Application1", "Conduit"), "C:\\t.dll");
  EXPECT_EQ(Dword(std::string(kBase) + "Application1", "Creator"), 0x4B766254u);
  // Removing "Othr" leaves a gap at 0; the registration behind it is still replaced.
  ASSERT_TRUE(hotsync.RemoveConduit("Othr"));
  ASSERT_TRUE(hotsync.RegisterConduit(tide, expand));
  EXPECT_EQ(Dword(std::string(kBase) + "Application0", "Creator"), 0x4B766254u);
  EXPECT_EQ(Dword(std::string(kBase) + "Application1", "Creator"), std::nullopt);

  ASSERT_TRUE(hotsync.RemoveConduit("KvbT"));
  EXPECT_EQ(Dword(std::string(kBase) + "Application0", "Creator"), std::nullopt);
  EXPECT_TRUE(hotsync.RemoveConduit("KvbT"));  // nothing left: success

  // The older base takes precedence once it exists.
  RegKey usr;
  usr.Create(HKEY_CURRENT_USER, "Software\\U.S. Robotics", KEY_ALL_ACCESS);
  ASSERT_TRUE(hotsync.DetectHotSync());
  EXPECT_EQ(hotsync.UserCount(), 0);
}

}  // namespace
}  // namespace kvb
