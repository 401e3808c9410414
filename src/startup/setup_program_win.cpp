#include "startup/setup_program_win.h"

#include <string>

#include "startup/application_win.h"
#include "startup/startup_sequence.h"

namespace kvb {
namespace {

// The full path of the running executable, as the system reports it; "" on failure.
std::string ExePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768)
      return {};
    path.resize(path.size() * 2);
  }
}

class WinStartupHost final : public StartupHost {
 public:
  explicit WinStartupHost(TApplication& application) : application_(application) {}
  void SetTitle(const std::string& title) override { application_.SetTitle(title); }
  void ShowMessage(const std::string& text, MessageIcon icon) override {
    application_.ShowMessage(text, icon);
  }
  std::unique_ptr<ByteSource> OpenOwnFile() override {
    const std::string path = ExePath();
    return path.empty() ? nullptr : OpenFileSource(path);
  }

 private:
  TApplication& application_;
};

}  // namespace

int RunSetupProgram(HINSTANCE instance) {
  TApplication application(instance);
  WinStartupHost host(application);
  TSetupStartup startup(host);
  return startup.Run();
}

}  // namespace kvb
