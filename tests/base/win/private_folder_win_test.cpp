// The run's own folders: created new and never taken over, held in place while the run
// uses them, and, when the run is elevated, open to administrators and the system only.
#include "base/private_folder_win.h"

#include <aclapi.h>
#include <sddl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvb {
namespace {

std::string TempPath() {
  char buffer[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, buffer);
  return buffer;
}

// A name under the temporary folder that nothing uses; removed at the end.
class ScratchName {
 public:
  ScratchName() : path_(TempPath() + "kvb-private-test-" + std::to_string(GetCurrentProcessId())) {
    Clean();
  }
  ~ScratchName() { Clean(); }
  const std::string& Path() const { return path_; }

 private:
  void Clean() {
    DeleteFileA((path_ + "\\file.txt").c_str());
    RemoveDirectoryA(path_.c_str());
    DeleteFileA(path_.c_str());
  }
  std::string path_;
};

std::string SidText(PSID sid) {
  LPSTR text = nullptr;
  if (!ConvertSidToStringSidA(sid, &text))
    return "?";
  std::string result = text;
  LocalFree(text);
  return result;
}

// Who a descriptor lets in, as "SID:mask:flags" per allowing entry, and whether the
// parent's entries are kept out.
struct Grants {
  std::string owner;
  bool protected_dacl = false;
  std::vector<std::string> entries;
  std::vector<std::string> denials;  // entries of any other type
};

Grants GrantsOf(PSECURITY_DESCRIPTOR descriptor) {
  Grants g;
  PSID owner = nullptr;
  BOOL defaulted = FALSE;
  if (GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) && owner)
    g.owner = SidText(owner);
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  g.protected_dacl = (control & SE_DACL_PROTECTED) != 0;
  BOOL present = FALSE;
  PACL acl = nullptr;
  if (!GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted) || !present || !acl)
    return g;
  for (DWORD i = 0; i < acl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(acl, i, &ace))
      continue;
    const auto* header = static_cast<ACE_HEADER*>(ace);
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
      g.denials.push_back(std::to_string(header->AceType));
      continue;
    }
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    g.entries.push_back(SidText(const_cast<DWORD*>(&allowed->SidStart)) + ":" +
                        std::to_string(allowed->Mask) + ":" + std::to_string(header->AceFlags));
  }
  return g;
}

const std::string kFullAccess = std::to_string(FILE_ALL_ACCESS);
const std::string kInherited = std::to_string(OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);

void ExpectAdministratorsAndSystemOnly(const Grants& g) {
  EXPECT_EQ(g.owner, "S-1-5-32-544");  // Administrators: the user's own processes cannot
                                       // change the permissions through ownership
  EXPECT_TRUE(g.protected_dacl) << "the parent's permissions would be inherited";
  EXPECT_EQ(g.entries, (std::vector<std::string>{"S-1-5-32-544:" + kFullAccess + ":" + kInherited,
                                                 "S-1-5-18:" + kFullAccess + ":" + kInherited}));
  EXPECT_TRUE(g.denials.empty());
}

// The descriptor every protected folder is created with: nobody but administrators and
// the system (not Users, not Everyone, not the user's own account) has any access, and
// what is created inside inherits that.
TEST(PrivateFolderTest, ProtectedDescriptorAdmitsAdministratorsAndSystemOnly) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
      kProtectedFolderSddl, SDDL_REVISION_1, &descriptor, nullptr));
  ExpectAdministratorsAndSystemOnly(GrantsOf(descriptor));
  LocalFree(descriptor);
}

TEST(PrivateFolderTest, FolderIsNewAndHeldInPlace) {
  ScratchName name;
  PrivateFolder folder;
  ASSERT_EQ(folder.Create(name.Path(), IsProcessElevated()), FolderCreation::kCreated);
  EXPECT_TRUE(folder.Held());
  EXPECT_EQ(folder.Path(), name.Path());

  // Never a folder that exists: not even one this process made itself.
  PrivateFolder second;
  EXPECT_EQ(second.Create(name.Path(), false), FolderCreation::kExisted);
  EXPECT_FALSE(second.Held());
  EXPECT_EQ(PrivateFolder().Create(name.Path() + "\\missing\\child", false),
            FolderCreation::kFailed);

  // Files go in and out as usual, but the folder itself cannot be moved or removed.
  HANDLE file = CreateFileA((name.Path() + "\\file.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_TRUE(DeleteFileA((name.Path() + "\\file.txt").c_str()));
  EXPECT_FALSE(MoveFileA(name.Path().c_str(), (name.Path() + "-moved").c_str()));
  EXPECT_FALSE(RemoveDirectoryA(name.Path().c_str()));

  folder.Release();
  EXPECT_TRUE(RemoveDirectoryA(name.Path().c_str()));
}

TEST(PrivateFolderTest, AnythingAtTheNameIsNeverTakenOver) {
  ScratchName name;
  HANDLE file = CreateFileA(name.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  PrivateFolder folder;
  EXPECT_EQ(folder.Create(name.Path(), true), FolderCreation::kExisted);
  EXPECT_FALSE(folder.Held());
}

// An elevated run's folder keeps the protected descriptor. Only a file system that
// stores descriptors can show it; Wine makes one up from the Unix permissions.
TEST(PrivateFolderTest, ElevatedRunsFolderAdmitsAdministratorsAndSystemOnly) {
  if (!IsProcessElevated())
    GTEST_SKIP() << "the process is not elevated";
  ScratchName name;
  PrivateFolder folder;
  ASSERT_EQ(folder.Create(name.Path(), true), FolderCreation::kCreated);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetNamedSecurityInfoA(name.Path().c_str(), SE_FILE_OBJECT,
                                  OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                                  nullptr, nullptr, nullptr, &descriptor),
            static_cast<DWORD>(ERROR_SUCCESS));
  const Grants grants = GrantsOf(descriptor);
  LocalFree(descriptor);
  folder.Release();
  if (grants.owner != "S-1-5-32-544" && !grants.protected_dacl)
    GTEST_SKIP() << "this file system does not keep security descriptors (owner " << grants.owner
                 << ")";
  ExpectAdministratorsAndSystemOnly(grants);
}

}  // namespace
}  // namespace kvb
