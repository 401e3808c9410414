#include "devices/rapi_library_win.h"

namespace kvb {

bool RapiLibrary::Load() {
  if (library_.Loaded())
    return true;
  library_ = SystemLibrary("rapi.dll");
  if (!library_.Loaded())
    return false;
#define KVB_BIND(name) api_.name = library_.Function<rapi::name>(#name)
  KVB_BIND(CeRapiInitEx);
  KVB_BIND(CeRapiUninit);
  KVB_BIND(CeGetVersionEx);
  KVB_BIND(CeGetSystemInfo);
  KVB_BIND(CeGetStoreInformation);
  KVB_BIND(CeCreateFile);
  KVB_BIND(CeReadFile);
  KVB_BIND(CeWriteFile);
  KVB_BIND(CeCloseHandle);
  KVB_BIND(CeSetFilePointer);
  KVB_BIND(CeGetFileSize);
  KVB_BIND(CeFindFirstFile);
  KVB_BIND(CeFindClose);
  KVB_BIND(CeCreateDirectory);
  KVB_BIND(CeRemoveDirectory);
  KVB_BIND(CeDeleteFile);
  KVB_BIND(CeCopyFile);
  KVB_BIND(CeCreateProcess);
  KVB_BIND(CeRegOpenKeyEx);
  KVB_BIND(CeRegCreateKeyEx);
  KVB_BIND(CeRegCloseKey);
  KVB_BIND(CeRegDeleteKey);
  KVB_BIND(CeRegDeleteValue);
  KVB_BIND(CeRegQueryValueEx);
  KVB_BIND(CeRegSetValueEx);
#undef KVB_BIND
  return true;
}

bool RapiLibrary::Complete() const {
  const auto* first = reinterpret_cast<void* const*>(&api_);
  const size_t count = sizeof api_ / sizeof(void*);
  for (size_t i = 0; i < count; ++i) {
    if (!first[i])
      return false;
  }
  return library_.Loaded();
}

void RapiLibrary::Unload() {
  api_ = RapiFunctions{};
  library_ = SystemLibrary();
}

}  // namespace kvb
