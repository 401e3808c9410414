// Uninstall logs on disk for the tests of the removal's runs: a scratch folder removed
// with its content, and a log of a product with the English texts.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "uninstall/uninstall_log.h"

namespace kvb {

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() / ("kvb-" + name + "-" + Unique())) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string Path() const { return path_.string(); }

  // Writes `bytes` to the file `name` in the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }

 private:
  static std::string Unique() { return std::to_string(std::random_device{}()); }
  std::filesystem::path path_;
};

// A log of `software` by "Kvb" with the English uninstaller texts and the variables
// InstallDir and Mark.
inline TUninstallLog ProductLog(const std::string& software, const std::string& install_dir) {
  TUninstallLog log;
  log.SoftwareName = software;
  log.CompanyName = "Kvb";
  log.Messages[0] = "%SoftwareName% Uninstaller";
  log.Messages[1] = "Do you want to uninstall %SoftwareName% from Desktop?";
  log.Messages[2] = "Uninstalling %SoftwareName%...";
  log.Messages[3] = "Uninstall completed with success.";
  log.Messages[4] = "Uninstall can not delete all %SoftwareName% items.";
  log.Messages[5] = "<file> is a shared file. Do you want to delete this file?";
  log.Messages[8] = "Key:";
  log.Messages[9] = "Value:";
  log.Messages[21] = "Cancel";
  log.Messages[24] = "Yes";
  log.Variables = {"%InstallDir%=" + install_dir, "%Mark%=" + software};
  return log;
}

// A script whose first statement names it, for the fake script runner.
inline TScript NamedScript(const std::string& name) {
  TScript script;
  script.Count = 1;
  script.Statements.resize(1);
  script.Statements[0].Args[0] = name;
  return script;
}

}  // namespace kvb
