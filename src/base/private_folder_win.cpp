#include "base/private_folder_win.h"

#include <sddl.h>
#include <winternl.h>

#include <string>
#include <utility>

namespace kvb {

namespace {

// The token information class that the XP-level headers lack.
constexpr int kTokenElevation = 20;  // TokenElevation

// A security descriptor made from its text form, freed with LocalFree.
class SecurityDescriptor {
 public:
  explicit SecurityDescriptor(const char* sddl) {
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor_,
                                                              nullptr)) {
      descriptor_ = nullptr;
    }
  }
  ~SecurityDescriptor() {
    if (descriptor_)
      LocalFree(descriptor_);
  }
  SecurityDescriptor(const SecurityDescriptor&) = delete;
  SecurityDescriptor& operator=(const SecurityDescriptor&) = delete;
  PSECURITY_DESCRIPTOR get() const { return descriptor_; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

// The Administrators group's SID, freed with FreeSid.
PSID AdministratorsSid() {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID sid = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                0, 0, 0, 0, &sid)) {
    return nullptr;
  }
  return sid;
}

bool IsAdministratorsMember() {
  PSID administrators = AdministratorsSid();
  BOOL member = FALSE;
  if (!administrators || !CheckTokenMembership(nullptr, administrators, &member))
    member = FALSE;
  if (administrators)
    FreeSid(administrators);
  return member != FALSE;
}

// The native calls that create a folder and open it in one step; ntdll is part of every
// process, so nothing is loaded for them.
using NtCreateFileFn = NTSTATUS(NTAPI*)(PHANDLE,
                                        ACCESS_MASK,
                                        POBJECT_ATTRIBUTES,
                                        PIO_STATUS_BLOCK,
                                        PLARGE_INTEGER,
                                        ULONG,
                                        ULONG,
                                        ULONG,
                                        ULONG,
                                        PVOID,
                                        ULONG);
using DosPathToNtPathFn = BOOLEAN(NTAPI*)(PCWSTR, PUNICODE_STRING, PCWSTR*, void*);
using FreeUnicodeStringFn = VOID(NTAPI*)(PUNICODE_STRING);

constexpr NTSTATUS kNameCollision = static_cast<NTSTATUS>(0xC0000035);  // exists already
constexpr ULONG kCreateDisposition = 2;                                 // FILE_CREATE
constexpr ULONG kDirectoryOptions = 0x00000001 | 0x00000020;            // a folder, synchronous

template <typename F>
F NtdllFunction(const char* name) {
  return reinterpret_cast<F>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(length > 0 ? length : 1, L'\0');
  if (length > 0)
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  return wide;
}

// Creates the folder and opens it, without delete sharing, in one step: the handle is
// the folder this call made, whatever others do with its name meanwhile.
FolderCreation CreateAndOpen(const std::string& path,
                             PSECURITY_DESCRIPTOR descriptor,
                             UniqueHandle& handle) {
  const auto create = NtdllFunction<NtCreateFileFn>("NtCreateFile");
  const auto to_nt = NtdllFunction<DosPathToNtPathFn>("RtlDosPathNameToNtPathName_U");
  const auto free_name = NtdllFunction<FreeUnicodeStringFn>("RtlFreeUnicodeString");
  UNICODE_STRING name = {};
  if (!create || !to_nt || !free_name || !to_nt(Wide(path).c_str(), &name, nullptr, nullptr))
    return FolderCreation::kFailed;
  OBJECT_ATTRIBUTES object = {};
  InitializeObjectAttributes(&object, &name, OBJ_CASE_INSENSITIVE, nullptr, descriptor);
  IO_STATUS_BLOCK io = {};
  HANDLE folder = nullptr;
  // Listing access makes the open take part in sharing checks; moving, renaming or
  // deleting the folder needs delete access, which the sharing refuses.
  const NTSTATUS status = create(&folder, FILE_LIST_DIRECTORY | SYNCHRONIZE, &object, &io, nullptr,
                                 FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 kCreateDisposition, kDirectoryOptions, nullptr, 0);
  free_name(&name);
  if (status == kNameCollision)
    return FolderCreation::kExisted;
  if (status < 0)
    return FolderCreation::kFailed;
  handle = UniqueHandle(folder);
  return FolderCreation::kCreated;
}

}  // namespace

bool IsProcessElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
    return false;
  UniqueHandle owned(token);
  DWORD elevated = 0;
  DWORD size = 0;
  if (GetTokenInformation(token, static_cast<TOKEN_INFORMATION_CLASS>(kTokenElevation), &elevated,
                          sizeof elevated, &size)) {
    return elevated != 0;
  }
  return IsAdministratorsMember();  // a system without elevation
}

FolderCreation PrivateFolder::Create(const std::string& path, bool protect) {
  SecurityDescriptor descriptor(kProtectedFolderSddl);
  if (protect && !descriptor.get())
    return FolderCreation::kFailed;
  UniqueHandle handle;
  const FolderCreation result = CreateAndOpen(path, protect ? descriptor.get() : nullptr, handle);
  if (result == FolderCreation::kCreated) {
    handle_ = std::move(handle);
    path_ = path;
  }
  return result;
}

void PrivateFolder::Release() {
  handle_.Close();
}

}  // namespace kvb
