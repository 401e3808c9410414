// The start-up sequence of the setup program: reads the package from the program's own
// file, checks it and (as the later subsystems join) prepares and starts the wizard.
// Portable: the platform side is behind StartupHost, so tests run it with a fake host.
#pragma once

#include <memory>
#include <string>

#include "setupdata/byte_source.h"
#include "setupdata/setup_data.h"

namespace kvb {

inline constexpr char kApplicationTitle[] = "Kalvenbrooker Setup";
// The two fixed texts shown before the package's message table is available.
inline constexpr char kInternalErrorText[] =
    "ERROR: internal setup error, please contact the technical support.";
inline constexpr char kCorruptedDataText[] =
    "ERROR: corrupted setup data, please try to download this software again or contact the "
    "development company.";

enum class MessageIcon { kStop, kExclamation, kInformation };

// What the sequence needs from the platform.
class StartupHost {
 public:
  virtual ~StartupHost() = default;
  // The application title: caption of every message box and of the application window.
  virtual void SetTitle(const std::string& title) = 0;
  // A modal message box with an OK button, the current title as caption, owned by the
  // application window. Returns when the user has closed it.
  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
  // Opens the running program's own file for reading (deny-write sharing); nullptr
  // when it cannot be opened.
  virtual std::unique_ptr<ByteSource> OpenOwnFile() = 0;
};

class TSetupStartup {
 public:
  explicit TSetupStartup(StartupHost& host) : host_(host) {}

  // Runs the sequence to its end and returns the process exit code (SetupExitCode).
  int Run();

  // The trailer, section table and option bytes, once read.
  const TSetupHeader& Header() const { return header_; }

 private:
  void InitApplication();
  bool ReadPackageHeader();
  bool CheckMagic();
  // Ends the run after a fatal message: nothing was created yet, so nothing to free.
  int EndRun(const char* text, int exit_code);

  StartupHost& host_;
  // The read stream on the program's own file, open until the process ends.
  std::unique_ptr<ByteSource> setup_file_;
  TSetupHeader header_;
};

}  // namespace kvb
