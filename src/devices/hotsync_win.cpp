#include "devices/hotsync_win.h"

#include <windows.h>

#include <algorithm>

#include "base/text.h"
#include "base/unique_handle_win.h"
#include "devices/hotsync_conduit.h"
#include "vars/reg_key_win.h"

namespace kvb {
namespace {

constexpr DWORD kUsersFileLimit = 1024 * 1024;  // HotSync's user files are a few KiB
constexpr int kConduitKeyLimit = 10000;

bool KeyExists(const std::string& path) {
  RegKey key;
  return key.Open(HKEY_CURRENT_USER, path, KEY_READ) == ERROR_SUCCESS;
}

std::string ReadText(const std::string& path, const char* name) {
  RegKey key;
  std::string value;
  if (key.Open(HKEY_CURRENT_USER, path, KEY_READ) != ERROR_SUCCESS ||
      key.ReadString(name, value) != ERROR_SUCCESS) {
    return {};
  }
  return value;
}

std::vector<uint8_t> ReadSmallFile(const std::string& path) {
  const UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
  if (!file.Valid())
    return {};
  std::vector<uint8_t> data(kUsersFileLimit);
  DWORD read = 0;
  if (!::ReadFile(file.Get(), data.data(), kUsersFileLimit, &read, nullptr))
    read = 0;
  data.resize(read);
  return data;
}

bool CreateFolder(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteValue(HKEY key, const ConduitValue& value) {
  if (value.IsInteger) {
    const DWORD number = value.Number;
    return RegSetValueExA(key, value.Name.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&number), sizeof number) == ERROR_SUCCESS;
  }
  return RegSetValueExA(key, value.Name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.Text.c_str()),
                        static_cast<DWORD>(value.Text.size() + 1)) == ERROR_SUCCESS;
}

// Deletes every value of the key; false when one cannot be deleted.
bool DeleteAllValues(HKEY key) {
  for (int guard = 0; guard < 100000; ++guard) {
    char name[16384];
    DWORD length = sizeof name;
    const LONG result = RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS)
      return true;
    if (result != ERROR_SUCCESS || RegDeleteValueA(key, name) != ERROR_SUCCESS)
      return false;
  }
  return false;
}

// The numbers n of the subkeys named `prefix` + n, in ascending order.
std::vector<int> NumberedKeys(const std::string& parent, const std::string& prefix) {
  std::vector<int> numbers;
  RegKey key;
  if (key.Open(HKEY_CURRENT_USER, parent, KEY_READ) != ERROR_SUCCESS)
    return numbers;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    const std::string_view text(name, length);
    if (text.size() <= prefix.size() || !SameText(text.substr(0, prefix.size()), prefix))
      continue;
    const std::string_view digits = text.substr(prefix.size());
    if (digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string_view::npos)
      continue;
    numbers.push_back(std::stoi(std::string(digits)));
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

}  // namespace

bool THotSync::FindBase() {
  for (const char* base : {"Software\\U.S. Robotics", "Software\\Palm Computing"}) {
    if (KeyExists(base)) {
      base_ = std::string(base) + "\\";
      return true;
    }
  }
  base_.clear();
  return false;
}

void THotSync::ReleaseHotSync() {
  users_.clear();
  current_user_ = 0;
}

bool THotSync::DetectHotSync() {
  ReleaseHotSync();
  core_path_.clear();
  hotsync_folder_.clear();
  last_user_name_.clear();
  found_ = FindBase();
  if (!found_)
    return false;
  last_user_name_ = ReadText(Key("Pilot Desktop\\Preferences"), "LastUserName");
  core_path_ = ReadText(Key("Pilot Desktop\\Core"), "Path");
  hotsync_folder_ = ExtractFilePath(ReadText(Key("Pilot Desktop\\Core"), "HotSyncPath"));
  if (!core_path_.empty()) {
    const HotSyncUserList list = ReadHotSyncUsers(
        ReadSmallFile(IncludeTrailingBackslash(core_path_) + "users.dat"), last_user_name_);
    users_ = list.Users;
    current_user_ = list.CurrentUser;
  }
  return true;
}

std::string THotSync::UserName(int index) const {
  return index >= 0 && index < UserCount() ? users_[index].Name : std::string();
}

std::string THotSync::UserFolder(int index) const {
  return index >= 0 && index < UserCount() ? users_[index].Folder : std::string();
}

int THotSync::UserNumber(int index) const {
  return index >= 0 && index < UserCount() ? users_[index].Number : 0;
}

int THotSync::FindUser(const std::string& name) const {
  for (int i = 0; i < UserCount(); ++i) {
    if (SameText(users_[i].Name, name))
      return i;
  }
  return -1;
}

std::string THotSync::CurrentUserName() const {
  return UserName(current_user_);
}

bool THotSync::InstallForUser(const std::string& user_name, const std::string& file_path) {
  const int user = FindUser(user_name);
  if (user < 0 || core_path_.empty() || UserFolder(user).empty())
    return false;
  const std::string user_folder = IncludeTrailingBackslash(core_path_) + UserFolder(user);
  const std::string install = user_folder + "\\Install";
  if (!CreateFolder(user_folder) || !CreateFolder(install))
    return false;
  if (!CopyFileA(file_path.c_str(), (install + "\\" + ExtractFileName(file_path)).c_str(), FALSE))
    return false;
  if (!FindBase()) {
    found_ = false;
    return false;
  }
  RegKey manager;
  if (manager.Open(HKEY_CURRENT_USER, Key("Pilot Desktop\\HotSync Manager"), KEY_SET_VALUE) !=
      ERROR_SUCCESS) {
    return false;
  }
  const DWORD flag = 1;
  const std::string name = "Install" + std::to_string(UserNumber(user));
  return RegSetValueExA(manager.Get(), name.c_str(), 0, REG_DWORD,
                        reinterpret_cast<const BYTE*>(&flag), sizeof flag) == ERROR_SUCCESS;
}

bool THotSync::RegisterConduit(const THotSyncConduit& conduit,
                               const std::function<std::string(const std::string&)>& expand) {
  if (!FindBase() || !RemoveConduit(conduit.Creator))
    return false;
  const std::string prefix = Key("Pilot Desktop\\" + ConduitKeyPrefix(conduit.Kind));
  for (int n = 0; n < kConduitKeyLimit; ++n) {
    const std::string path = prefix + std::to_string(n);
    if (KeyExists(path))
      continue;
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS) != ERROR_SUCCESS)
      return false;
    for (const ConduitValue& value : ConduitValues(conduit, expand)) {
      if (!WriteValue(key.Get(), value))
        return false;
    }
    return true;
  }
  return false;
}

// Looks at every numbered key of the kind, gaps included: a registration behind a gap
// (left by an earlier removal) is still found and replaced.
bool THotSync::RemoveConduitOfKind(const std::string& prefix, uint32_t creator) {
  for (int n : NumberedKeys(Key("Pilot Desktop"), prefix)) {
    const std::string path = Key("Pilot Desktop\\" + prefix + std::to_string(n));
    RegKey key;
    DWORD registered = 0;
    if (key.Open(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS) != ERROR_SUCCESS ||
        key.ReadDword("Creator", registered) != ERROR_SUCCESS || registered != creator) {
      continue;
    }
    const bool values_deleted = DeleteAllValues(key.Get());
    key.Close();
    return values_deleted && RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS;
  }
  return true;
}

bool THotSync::RemoveConduit(const std::string& creator) {
  if (!FindBase())
    return false;
  const uint32_t number = CreatorNumber(creator);
  const bool applications = RemoveConduitOfKind(ConduitKeyPrefix(0), number);
  const bool components = RemoveConduitOfKind(ConduitKeyPrefix(1), number);
  return applications && components;
}

}  // namespace kvb
