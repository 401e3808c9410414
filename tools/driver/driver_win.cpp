#include "tools/driver/driver_win.h"

#include <cstdio>

#include "tools/driver/wait_win.h"
#include "tools/driver/windows_win.h"

namespace kvb::driver {
namespace {

// One argument of a Windows command line, quoted so the C run-time splits it back.
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
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

std::string QueryText(const TopLevelQuery& q) {
  std::string text;
  if (!q.title.empty())
    text += " title=" + QuoteText(q.title);
  if (!q.title_part.empty())
    text += " title~=" + QuoteText(q.title_part);
  if (!q.class_name.empty())
    text += " class=" + QuoteText(q.class_name);
  if (q.pid)
    text += " pid=" + std::to_string(*q.pid);
  return text.empty() ? " any window" : text;
}

}  // namespace

DriverStatus Report(DriverStatus status, const Step& step, const std::string& what) {
  std::fprintf(stderr, "kvbdriver: line %d: %s: %s\n", step.line, step.verb.c_str(), what.c_str());
  std::fflush(stderr);
  return status;
}

DriverStatus TDriver::Run(const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    const DriverStatus status = RunStep(step);
    std::fflush(stdout);
    if (status != kStatusOk)
      return status;
  }
  return kStatusOk;
}

DriverStatus TDriver::RunStep(const Step& step) {
  const std::string& v = step.verb;
  if (v == "start")
    return Start(step);
  if (v == "wait-window")
    return WaitWindow(step);
  if (v == "wait-gone")
    return WaitGone(step);
  if (v == "dump")
    return Dump(step);
  if (v == "expect-text")
    return ExpectText(step);
  if (v == "expect-icon")
    return ExpectIcon(step);
  if (v == "click")
    return Click(step);
  if (v == "type")
    return Type(step);
  if (v == "check")
    return Check(step);
  if (v == "select")
    return Select(step);
  if (v == "wait-exit")
    return WaitExit(step);
  if (v == "kill")
    return Kill(step);
  if (v == "screenshot")
    return Screenshot(step);
  std::string line;  // echo
  for (const std::string& word : step.words)
    line += (line.empty() ? "" : " ") + word;
  std::printf("%s\n", line.c_str());
  return kStatusOk;
}

DWORD TDriver::TimeoutOf(const Step& step) const {
  const std::string* value = step.Option("timeout");
  return value ? static_cast<DWORD>(ParseNumber(*value, step)) : options_.timeout_ms;
}

bool TDriver::NeedWindow(const Step& step) {
  if (window_)
    return true;
  Report(kStatusScriptError, step, "no current window (use wait-window first)");
  return false;
}

DriverStatus TDriver::Start(const Step& step) {
  std::string command;
  for (const std::string& word : step.words)
    command += (command.empty() ? "" : " ") + QuoteArgument(word);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return Report(kStatusNotFound, step,
                  "cannot start " + QuoteText(step.words[0]) + " (error " +
                      std::to_string(GetLastError()) + ")");
  }
  CloseHandle(process.hThread);
  target_.Reset(process.hProcess);
  target_pid_ = process.dwProcessId;
  window_ = nullptr;
  return kStatusOk;
}

DriverStatus TDriver::WaitWindow(const Step& step) {
  TopLevelQuery query;
  if (const std::string* title = step.Option("title"))
    query.title = *title;
  if (const std::string* part = step.Option("title~"))
    query.title_part = *part;
  if (const std::string* cls = step.Option("class"))
    query.class_name = *cls;
  if (const std::string* hidden = step.Option("hidden"))
    query.include_hidden = *hidden != "0";
  const std::string* process = step.Option("process");
  if (!process || *process == "target") {
    if (target_)
      query.pid = target_pid_;
    else if (process)
      return Report(kStatusScriptError, step, "no target process started");
  } else if (*process != "any") {
    query.pid = static_cast<DWORD>(ParseNumber(*process, step));
  }
  HWND found = nullptr;
  if (!WaitUntil(TimeoutOf(step), [&] { return (found = FindTopLevel(query)) != nullptr; }))
    return Report(kStatusTimeout, step, "no window" + QueryText(query));
  window_ = found;
  return kStatusOk;
}

DriverStatus TDriver::WaitGone(const Step& step) {
  if (!NeedWindow(step))
    return kStatusScriptError;
  HWND window = window_;
  if (!WaitUntil(TimeoutOf(step), [&] { return !IsWindow(window) || !IsWindowVisible(window); }))
    return Report(kStatusTimeout, step, "the window is still there");
  window_ = nullptr;
  return kStatusOk;
}

DriverStatus TDriver::WaitExit(const Step& step) {
  UniqueHandle owned;
  HANDLE process = target_.get();
  if (!process && window_) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window_, &pid);
    owned.Reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid));
    process = owned.get();
  }
  if (!process)
    return Report(kStatusScriptError, step, "no process to wait for");
  if (WaitForSingleObject(process, TimeoutOf(step)) != WAIT_OBJECT_0)
    return Report(kStatusTimeout, step, "the process is still running");
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  std::printf("exit code %lu\n", static_cast<unsigned long>(code));
  const std::string* expected = step.Option("code");
  if (expected && static_cast<DWORD>(ParseNumber(*expected, step)) != code)
    return Report(kStatusMismatch, step,
                  "exit code " + std::to_string(code) + ", expected " + *expected);
  return kStatusOk;
}

DriverStatus TDriver::Kill(const Step& step) {
  if (target_ && WaitForSingleObject(target_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(target_.get(), 1);
    WaitForSingleObject(target_.get(), TimeoutOf(step));
  }
  return kStatusOk;
}

DriverStatus TDriver::Screenshot(const Step& step) {
  std::printf("screenshot %s\n", step.words[0].c_str());
  std::fflush(stdout);
  if (!options_.screenshot_handshake)
    return kStatusOk;
  // The caller answers with one line once the picture is taken (or closes the pipe).
  char c = 0;
  DWORD got = 0;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  while (ReadFile(input, &c, 1, &got, nullptr) && got == 1 && c != '\n') {
  }
  return kStatusOk;
}

}  // namespace kvb::driver
