#include "devices/device_steps_win.h"

#include "devices/app_manager_files.h"
#include "devices/app_manager_win.h"
#include "devices/hotsync_win.h"

namespace kvb {
namespace {

class WinDeviceSteps final : public DeviceSteps {
 public:
  WinDeviceSteps() { hotsync_.DetectHotSync(); }

  std::vector<std::string> WriteAppManagerFiles(const std::vector<AppManagerGroup>& groups,
                                                const std::string& company_name,
                                                const std::string& icon_path) override {
    return kvb::WriteAppManagerFiles(groups, company_name, icon_path, WriteTextFile);
  }

  void RunAppManager(const std::string& program,
                     const std::string& arguments,
                     const std::string& working_folder) override {
    kvb::RunAppManager(program, arguments, working_folder);
  }

  bool InstallForUser(const std::string& user_name, const std::string& file) override {
    return hotsync_.InstallForUser(user_name, file);
  }

  // The engine expands the conduit's texts before the call.
  bool RegisterConduit(const THotSyncConduit& conduit) override {
    return hotsync_.RegisterConduit(conduit, [](const std::string& text) { return text; });
  }

  bool RemoveConduit(const std::string& creator) override {
    return hotsync_.RemoveConduit(creator);
  }

  void RemoveStagedFiles(const std::vector<TUninstItem>& items) override {
    kvb::RemoveStagedFiles(items);
  }

 private:
  THotSync hotsync_;
};

}  // namespace

std::unique_ptr<DeviceSteps> MakeDeviceSteps() {
  return std::make_unique<WinDeviceSteps>();
}

}  // namespace kvb
