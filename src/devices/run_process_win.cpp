#include "devices/run_process_win.h"

#include <windows.h>

#include <vector>

#include "base/message_pump.h"
#include "base/system_program_win.h"
#include "base/text.h"

namespace kvb {
namespace {

// Waits for `process` to end while dispatching window messages. A WM_QUIT is put back for
// the application's own message loop, and the wait ends.
void WaitPumping(HANDLE process) {
  for (;;) {
    const DWORD wake = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
    if (wake != WAIT_OBJECT_0 + 1)
      return;  // ended, or the wait failed
    if (!ProcessPendingMessages())
      return;
  }
}

}  // namespace

uint32_t RunProcess(const std::string& given,
                    const std::string& arguments,
                    const std::string& working_folder,
                    bool wait_idle,
                    bool wait_exit) {
  // A program named without a folder comes from the system's folders, never from the
  // setup's own (download) folder or the current one.
  const std::string program = IsBareName(given) ? FindSystemProgram(given) : given;
  if (program.empty())
    return ERROR_FILE_NOT_FOUND;
  const std::string command = "\"" + program + "\" " + arguments;
  std::vector<char> command_line(command.begin(), command.end());
  command_line.push_back('\0');
  std::string folder = working_folder;
  if (folder.empty()) {
    folder = ExcludeTrailingBackslash(ExtractFilePath(program));
    // "C:" alone would name the current folder of drive C, not its root.
    if (folder.size() == 2 && folder[1] == ':')
      folder += '\\';
  }

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    return GetLastError();
  }
  CloseHandle(info.hThread);
  if (wait_idle)
    WaitForInputIdle(info.hProcess, INFINITE);
  if (wait_exit)
    WaitPumping(info.hProcess);
  CloseHandle(info.hProcess);
  return 0;
}

}  // namespace kvb
