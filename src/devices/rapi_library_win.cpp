#include "devices/rapi_library_win.h"

namespace kvb {

bool RapiLibrary::Load() {
  if (library_.Loaded())
    return true;
  library_ = SystemLibrary("rapi.dll");
  if (!library_.Loaded())
    return false;
  complete_ = true;
  const auto bind = [this]<typename Function>(Function& function, const char* name) {
    function = library_.Function<Function>(name);
    complete_ = complete_ && function != nullptr;
  };
#define KVB_BIND(name) bind(api_.name, #name)
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

void RapiLibrary::Unload() {
  api_ = RapiFunctions{};
  complete_ = false;
  library_ = SystemLibrary();
}

}  // namespace kvb
