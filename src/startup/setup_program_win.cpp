#include "startup/setup_program_win.h"

#include <string>

#include "startup/application_win.h"
#include "startup/exit_codes.h"
#include "startup/startup_host_win.h"
#include "startup/startup_sequence.h"
#include "vars/com_init_win.h"

namespace kvb {

int RunSetupProgram(HINSTANCE instance) {
  TApplication application(instance);
  std::string com_error;
  ComInitialization com = ComInitialization::Start(com_error);
  if (!com.Active()) {
    application.SetTitle(kApplicationTitle);
    application.ShowMessage(com_error, MessageIcon::kStop);
    return kExitComFailed;
  }
  WinStartupHost host(instance, application);
  TSetupStartup startup(host);
  return startup.Run();
}

}  // namespace kvb
