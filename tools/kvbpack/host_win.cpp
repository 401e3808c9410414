#include <io.h>
#include <windows.h>

#include "base/unique_handle_win.h"
#include "host.h"

namespace kvb::pack {

namespace {

// One argument as the C runtime of the started program splits it again: quoted when it
// holds blanks or quotes, backslashes doubled only in front of a quote.
std::string QuoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
    return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, '\\');
  return out + "\"";
}

// A pipe whose end `inherited` (0 read, 1 write) a started program may inherit.
bool MakePipe(UniqueHandle& read, UniqueHandle& write, int inherited) {
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, TRUE};
  HANDLE ends[2] = {};
  if (!CreatePipe(&ends[0], &ends[1], &attributes, 0))
    return false;
  read = UniqueHandle(ends[0]);
  write = UniqueHandle(ends[1]);
  return SetHandleInformation(ends[1 - inherited], HANDLE_FLAG_INHERIT, 0) != FALSE;
}

}  // namespace

std::string SelfPath() {
  char buf[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string();
}

bool IsTerminal(std::FILE* stream) {
  return _isatty(_fileno(stream)) != 0;
}

ProgramRun RunProgram(const std::vector<std::string>& args, const std::string& input) {
  ProgramRun run;
  UniqueHandle in_read, in_write, out_read, out_write;
  if (args.empty() || !MakePipe(in_read, in_write, 0) || !MakePipe(out_read, out_write, 1))
    return run;
  std::string command;
  for (const std::string& a : args)
    command += (command.empty() ? "" : " ") + QuoteArgument(a);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in_read.Get();
  startup.hStdOutput = out_write.Get();
  startup.hStdError = out_write.Get();
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return run;
  }
  UniqueHandle owned_process(process.hProcess);
  CloseHandle(process.hThread);
  run.started = true;
  in_read.Close();
  out_write.Close();
  DWORD written = 0;
  if (!input.empty())
    WriteFile(in_write.Get(), input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
  in_write.Close();
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(out_read.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    run.output.append(buffer, got);
  WaitForSingleObject(owned_process.Get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(owned_process.Get(), &code);
  run.exit_code = static_cast<int>(code);
  return run;
}

std::string StandardInputName() {
  return "-";  // the signing tool's own name for its standard input
}

}  // namespace kvb::pack
