#include "devices/app_manager_win.h"

#include <windows.h>

#include "base/unique_handle_win.h"
#include "devices/run_process_win.h"
#include "setupdata/uninst_item_io.h"

namespace kvb {

bool WriteTextFile(const std::string& path, const std::string& text) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid())
    return false;
  DWORD written = 0;
  const bool ok =
      ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size() && file.Close();
  if (!ok)
    DeleteFileA(path.c_str());
  return ok;
}

bool RunAppManager(const std::string& appmgr_path,
                   const std::string& arguments,
                   const std::string& working_folder) {
  if (arguments.empty())
    return false;
  return RunProcess(appmgr_path, arguments, working_folder, /*wait_idle=*/true,
                    /*wait_exit=*/true) == 0;
}

void RemoveStagedFiles(const std::vector<TUninstItem>& items) {
  for (const TUninstItem& item : items) {
    if (item.Kind == kItemDeviceFile || item.Kind == kItemPlainFile)
      DeleteFileA(item.Path.c_str());
  }
  // Deepest first: folders are logged parent before child.
  for (auto item = items.rbegin(); item != items.rend(); ++item) {
    if (item->Kind == kItemFolder)
      RemoveDirectoryA(item->Path.c_str());
  }
}

}  // namespace kvb
