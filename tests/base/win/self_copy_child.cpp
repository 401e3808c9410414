// Stands in for a program that runs from a copy of itself, as the uninstaller does:
//   self_copy_child copy REPORT    starts a copy of itself that reports, waits for it and
//                                  ends with the copy's exit code (1 when none started)
//   self_copy_child report REPORT  writes its own path and its current folder into
//                                  REPORT, one a line, and ends with 7
#include <windows.h>

#include <cstdio>
#include <string>

#include "base/self_copy_win.h"
#include "base/system_library_win.h"

namespace {

int Copy(const char* report) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::optional<kvb::SelfCopy> copy =
      kvb::StartSelfCopy(temp, std::string("report \"") + report + "\"");
  if (!copy)
    return 1;
  WaitForSingleObject(copy->Process.Get(), INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(copy->Process.Get(), &code);
  std::printf("%s\n", copy->Program.c_str());
  return static_cast<int>(code);
}

int Report(const char* report) {
  char self[MAX_PATH] = {}, folder[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  GetCurrentDirectoryA(MAX_PATH, folder);
  std::FILE* out = std::fopen(report, "w");
  if (!out)
    return 1;
  std::fprintf(out, "%s\n%s\n", self, folder);
  std::fclose(out);
  return 7;
}

}  // namespace

int main(int argc, char** argv) {
  kvb::RestrictDllSearchPath();
  if (argc == 3 && std::string(argv[1]) == "copy")
    return Copy(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "report")
    return Report(argv[2]);
  return 2;
}
