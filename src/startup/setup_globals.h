// The process-wide state of a setup run: created by the start-up sequence, handed on to
// whoever runs the setup after it, freed when the run ends. One object owns it and
// passes it on explicitly; nothing of it lives in global variables.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "script/script_engine.h"
#include "setupdata/byte_source.h"
#include "setupdata/setup_data.h"
#include "startup/startup_host.h"
#include "vars/variables.h"

namespace kvb {

struct TSetupGlobals {
  // The read stream on the program's own file, open until the process ends.
  std::unique_ptr<ByteSource> SetupFileStream;
  TSetupHeader Header;
  // The package's records, read section by section.
  TSetupData Data;
  // The variable store with its names, selections and hooks.
  std::unique_ptr<Variables> Vars;
  // Name of the last language flagged as default; "" when none is.
  std::string DefaultLanguage;
  // The run's private temporary folder; "" until it is created and after it is removed.
  std::string TempSetupDir;
  // Every file extracted at start-up, in extraction order.
  std::vector<std::string> TempFileList;
  // The script interpreter, created for the start-up script and kept for the run.
  // Declared after Vars, which it refers to, so that it goes first.
  std::unique_ptr<TScriptEngine> Scripts;
};

// Releases the package's records, deletes every file of the temporary-file list (those
// outside the temporary folder too), removes the temporary folder with whatever the
// run left in it, and clears the list. Calling it again does nothing more.
void FreeSetupData(TSetupGlobals& globals, StartupHost& host);

}  // namespace kvb
