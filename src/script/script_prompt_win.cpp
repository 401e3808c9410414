#include "script/dll_call_win.h"
#include "script/script_services_win.h"

namespace kvb {
namespace {

class Win32Prompt : public ScriptPrompt {
 public:
  explicit Win32Prompt(ApplicationWindowFn application_window)
      : application_window_(std::move(application_window)) {}

  int ShowMessage(const std::string& caption, const std::string& text, uint32_t style) override {
    HWND owner = GetActiveWindow();
    if (!owner && application_window_)
      owner = application_window_();
    return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
  }

 private:
  ApplicationWindowFn application_window_;
};

}  // namespace

std::unique_ptr<ScriptPrompt> CreateWin32Prompt(ApplicationWindowFn application_window) {
  return std::make_unique<Win32Prompt>(std::move(application_window));
}

ScriptServices CreateWin32ScriptServices(ApplicationWindowFn application_window) {
  ScriptServices services;
  services.Prompt = CreateWin32Prompt(application_window);
  services.Registry = CreateWin32Registry();
  services.System = CreateWin32System(application_window);
  services.Dll = std::make_unique<TDLLCall>();
  return services;
}

}  // namespace kvb
