// The start-up sequence of the setup program: reads the package from the program's own
// file and checks it, creates the run's temporary folder, reads the package into the
// records and the variable store, checks the required desktop software, extracts the
// temporary files behind the loader window (and the splash), initialises the run-time
// variables, runs the package's start-up script and hands the run to the main form.
// Portable: the platform side is behind StartupHost, so tests run it with a fake host.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "startup/setup_globals.h"
#include "startup/startup_host.h"
#include "startup/temp_file_extractor.h"

namespace kvb {

inline constexpr char kApplicationTitle[] = "Kalvenbrooker Setup";
// The two fixed texts shown before the package's message table is available.
inline constexpr char kInternalErrorText[] =
    "ERROR: internal setup error, please contact the technical support.";
inline constexpr char kCorruptedDataText[] =
    "ERROR: corrupted setup data, please try to download this software again or contact the "
    "development company.";

// Message numbers the sequence shows.
inline constexpr int kMessageActiveSyncMissing = 8;
inline constexpr int kMessageStarting = 53;
inline constexpr int kMessageHotSyncMissing = 64;

class TSetupStartup {
 public:
  explicit TSetupStartup(StartupHost& host) : host_(host) {}
  // Frees what a run that ended by an exception left behind.
  ~TSetupStartup();
  TSetupStartup(const TSetupStartup&) = delete;
  TSetupStartup& operator=(const TSetupStartup&) = delete;

  // Runs the sequence to its end and returns the process exit code (SetupExitCode).
  // Every way out removes the temporary folder and the files extracted into it.
  int Run();

  const TSetupGlobals& Globals() const { return globals_; }

 private:
  // What the first look at the program's own file found.
  enum class PackageState { kReadable, kUnreadable, kDamaged };

  // Before anything else: the title, the package's trailer and header, its magic.
  void InitApplication();
  PackageState ReadPackageHeader();
  bool CheckMagic() const;
  // Everything after the magic; FormatError and ArchiveError mean a damaged package.
  int RunPackage();
  // Empty records, the product names, the temporary folder.
  bool InitSetupGlobals();
  void InstallVariableHooks();
  // Variables, software information, appearance, messages.
  void ReadPackageTexts();
  // The exit code when required desktop software is missing.
  std::optional<int> CheckRequiredSoftware();
  // The package title, set before the loader shows and again once the run-time variables
  // that it may name exist.
  void SetPackageTitle();
  // Loader, first extraction pass, splash.
  void ShowLoader();
  void ShowSplash();
  void ExtractTempFiles(TempFilePass pass);
  // The sections read while the loader shows.
  void ReadRemainingSections();
  // The variables that describe the run.
  void InitRuntimeVariables();
  // Closes the loader and the splash.
  void CloseStartupForms();
  // The package's start-up script; true to go on.
  bool RunStartupScript();
  // The background items, read only for a package that shows the background window.
  void ReadBackItems();

  // The stored value of %Language%.
  std::string CurrentLanguage() const;
  // A message of the current language, expanded.
  std::string MessageText(int number) const;
  void ReadSection(int index);
  // Ends the run with a message: closes the start-up windows, shows the text, frees the
  // package and the temporary files.
  int EndRun(const std::string& text, MessageIcon icon, int exit_code);

  StartupHost& host_;
  TSetupGlobals globals_;
  std::unique_ptr<StartupForm> loader_;
  std::unique_ptr<StartupForm> splash_;
  std::unique_ptr<TTempFileExtractor> extractor_;  // the loader's archive work
};

}  // namespace kvb
