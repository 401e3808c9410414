// Installation benchmark, the setup's side: installs a package built by kvbpack with the
// installation engine (no windows, every prompt answered Yes) and prints the time of each
// phase: extraction, registration, shortcuts, registry, the log with the installed-programs
// entry. Usage: install_bench SETUP.exe   (run under Wine by bench/install/run.sh)
#include <objbase.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "base/system_library_win.h"
#include "install/install_machine_win.h"
#include "install/kalvenbrooker_install.h"
#include "setupdata/messages.h"
#include "setupdata/package_reader.h"
#include "vars/registry_reader_win.h"
#include "vars/variable_loading.h"
#include "vars/windows_machine_win.h"

namespace kvb {
namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Answers every prompt with Yes and notes when the file step moves from extracting to
// registering.
class SilentHost final : public InstallHost {
 public:
  Clock::time_point registering;
  void Status(StatusKind kind, const std::string& text, int) override {
    if (kind == StatusKind::kStatusLine && text == registering_text)
      registering = Clock::now();
  }
  void ShowMessage(const std::string& text, MessageIcon) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  }
  PromptAnswer AskFileOverwrite(const OverwritePrompt&) override { return PromptAnswer::kYes; }
  bool RequestClose() override { return false; }
  std::optional<std::string> AskNextDisk(const DiskPrompt&) override { return std::nullopt; }
  void ShowBillboard(const std::string&) override {}
  void CloseBillboard() override {}
  bool ProcessMessages() override { return true; }
  void EndApplication() override {}
  std::string registering_text;
};

int Run(const std::string& setup) {
  const Clock::time_point start = Clock::now();
  std::unique_ptr<ByteSource> file = OpenFileSource(setup);
  if (!file)
    return 2;
  TSetupPackage package = ReadPackage(*file);
  TSetupData& data = package.Data;
  WindowsMachine info;
  Variables vars(&info);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  vars.TempSetupDir = std::string(temp) + "kvbbench";
  CreateDirectoryA(vars.TempSetupDir.c_str(), nullptr);
  ApplySetupProperties(vars, data.Properties);
  WinRegistryReader registry;
  LoadVariables(vars, data.Variables, registry);
  InitVariables(vars, data, "", DefaultLanguageName(data));

  SilentHost host;
  host.registering_text = vars.ExpandText(GetMessageText(data, kMsgRegisteringFiles, ""));
  std::unique_ptr<InstallMachine> machine = MakeWindowsInstallMachine();
  InstallContext context(data, vars, host, *machine);
  context.SetupFile = file.get();
  context.ArchiveOffset = package.Header.Trailer.MainArchiveOffset;
  context.SetupPath = setup;
  context.TempSetupDir = vars.TempSetupDir;
  TKalvenbrookerInstall engine(context);
  const double prepare = Since(start);
  const Clock::time_point files = Clock::now();
  engine.InstallFiles();
  const double extraction = std::chrono::duration<double>(host.registering - files).count();
  const double registration = Since(host.registering);
  Clock::time_point t = Clock::now();
  engine.CreateShortcuts();
  const double shortcuts = Since(t);
  t = Clock::now();
  engine.ApplyRegistryChanges();
  const double registry_time = Since(t);
  t = Clock::now();
  engine.RegisterUninstall();
  engine.Finish();
  const double log = Since(t);
  RemoveDirectoryA(vars.TempSetupDir.c_str());
  std::printf(
      "phases prepare=%.3f extraction=%.3f registration=%.3f shortcuts=%.3f registry=%.3f "
      "log=%.3f\n",
      prepare, extraction, registration, shortcuts, registry_time, log);
  return engine.Aborted() ? 3 : 0;
}

}  // namespace
}  // namespace kvb

int main(int argc, char** argv) {
  kvb::RestrictDllSearchPath();
  if (argc != 2) {
    std::fprintf(stderr, "usage: install_bench SETUP.exe\n");
    return 2;
  }
  CoInitialize(nullptr);
  char full[MAX_PATH];
  GetFullPathNameA(argv[1], MAX_PATH, full, nullptr);
  const int status = kvb::Run(full);
  CoUninitialize();
  return status;
}
