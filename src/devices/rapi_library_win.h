// The binding to ActiveSync's "rapi.dll". ActiveSync installs the library into the
// system folder, so it is loaded from there only (never found by a search that could
// reach the setup's own download folder), and its functions are taken by name.
#pragma once

#include "base/system_library_win.h"
#include "devices/rapi_types_win.h"

namespace kvb {

// The functions of the library that the device access calls; each stays null when the
// library does not export it.
struct RapiFunctions {
  rapi::CeRapiInitEx CeRapiInitEx = nullptr;
  rapi::CeRapiUninit CeRapiUninit = nullptr;
  rapi::CeGetVersionEx CeGetVersionEx = nullptr;
  rapi::CeGetSystemInfo CeGetSystemInfo = nullptr;
  rapi::CeGetStoreInformation CeGetStoreInformation = nullptr;
  rapi::CeCreateFile CeCreateFile = nullptr;
  rapi::CeReadFile CeReadFile = nullptr;
  rapi::CeWriteFile CeWriteFile = nullptr;
  rapi::CeCloseHandle CeCloseHandle = nullptr;
  rapi::CeSetFilePointer CeSetFilePointer = nullptr;
  rapi::CeGetFileSize CeGetFileSize = nullptr;
  rapi::CeFindFirstFile CeFindFirstFile = nullptr;
  rapi::CeFindClose CeFindClose = nullptr;
  rapi::CeCreateDirectory CeCreateDirectory = nullptr;
  rapi::CeRemoveDirectory CeRemoveDirectory = nullptr;
  rapi::CeDeleteFile CeDeleteFile = nullptr;
  rapi::CeCopyFile CeCopyFile = nullptr;
  rapi::CeCreateProcess CeCreateProcess = nullptr;
  rapi::CeRegOpenKeyEx CeRegOpenKeyEx = nullptr;
  rapi::CeRegCreateKeyEx CeRegCreateKeyEx = nullptr;
  rapi::CeRegCloseKey CeRegCloseKey = nullptr;
  rapi::CeRegDeleteKey CeRegDeleteKey = nullptr;
  rapi::CeRegDeleteValue CeRegDeleteValue = nullptr;
  rapi::CeRegQueryValueEx CeRegQueryValueEx = nullptr;
  rapi::CeRegSetValueEx CeRegSetValueEx = nullptr;
};

class RapiLibrary {
 public:
  // Loads "rapi.dll" from the system folder and binds its functions; false when the
  // library is missing (every function then stays null).
  bool Load();
  void Unload();
  bool Loaded() const { return library_.Loaded(); }
  // Every function is bound; the device access uses the library only then.
  bool Complete() const { return complete_; }
  const RapiFunctions& Api() const { return api_; }

 private:
  SystemLibrary library_;
  RapiFunctions api_;
  bool complete_ = false;
};

}  // namespace kvb
