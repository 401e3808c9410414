// The removal's machine on Windows: files, folders and registry through the ANSI Win32
// calls, and the system's unregistration services.
#pragma once

#include "uninstall/removal_machine.h"

namespace kvb {

class WinRemovalMachine final : public RemovalMachine {
 public:
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveEmptyFolder(const std::string& path) override;

  bool ValueExists(RegRoot root, const std::string& key, const std::string& name) override;
  bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) override;
  bool KeyIsEmpty(RegRoot root, const std::string& key) override;
  bool DeleteKey(RegRoot root, const std::string& key) override;
  bool DeleteKeyTree(RegRoot root, const std::string& key) override;
  std::optional<std::string> ReadString(RegRoot root,
                                        const std::string& key,
                                        const std::string& name) override;
  std::vector<std::string> SubkeyNames(RegRoot root, const std::string& key) override;

  int WindowsMajorVersion() override;
  bool ReleaseSharedDll(const std::string& path) override;
  void UnregisterServer(const std::string& path) override;
  void UnregisterTypeLibrary(const std::string& path) override;
  void RemoveFont(const std::string& path, const std::string& font_name) override;
};

}  // namespace kvb
