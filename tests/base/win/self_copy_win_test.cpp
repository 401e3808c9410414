// A program started from a copy of itself: the copy lives alone in a new folder of the
// temporary folder and runs there.
#include "base/self_copy_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "base/text.h"

namespace kvb {
namespace {

std::string Beside(const std::string& name) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return ExtractFilePath(self) + name;
}

// Runs the program with the arguments and returns its exit code.
DWORD RunProgram(const std::string& program, const std::string& arguments) {
  std::string command = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return 9999;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return code;
}

int FilesIn(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  int count = 0;
  if (find == INVALID_HANDLE_VALUE)
    return 0;
  do {
    const std::string name = entry.cFileName;
    count += name != "." && name != "..";
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return count;
}

TEST(SelfCopyTest, CopyRunsAloneFromANewFolder) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string report =
      std::string(temp) + "kvb-self-copy-" + std::to_string(GetCurrentProcessId()) + ".txt";
  const std::string child = Beside("self_copy_child.exe");
  ASSERT_EQ(RunProgram(child, "copy \"" + report + "\""), 7u) << "the copy did not report";

  std::ifstream in(report);
  std::string program, current;
  std::getline(in, program);
  std::getline(in, current);
  in.close();
  DeleteFileA(report.c_str());
  const std::string folder = ExcludeTrailingBackslash(ExtractFilePath(program));
  EXPECT_TRUE(SameText(ExtractFileName(program), "self_copy_child.exe")) << program;
  EXPECT_FALSE(SameText(program, child));
  EXPECT_TRUE(SameText(ExtractFilePath(folder), temp)) << folder;
  EXPECT_EQ(ExtractFileName(folder).substr(0, 4), "kvbu") << folder;
  EXPECT_TRUE(SameText(ExcludeTrailingBackslash(current), folder)) << current;
  EXPECT_EQ(FilesIn(folder), 1);
  EXPECT_TRUE(DeleteFileA(program.c_str()));
  EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));
}

}  // namespace
}  // namespace kvb
