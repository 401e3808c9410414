// Fuzzes the uninstall log reader: any bytes are read (or refused) without crashing or
// allocating without bound; a log that was read is taken into the run's data, and
// writing it, reading that back and writing again gives the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "uninstall/uninstall_log.h"
#include "uninstall/uninstaller_data.h"
#include "vars/variables.h"

using namespace kvb;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemorySource source(std::string(reinterpret_cast<const char*>(data), size));
  TUninstallLog log;
  try {
    log = ReadUninstallLog(source);
  } catch (const FormatError&) {
    return 0;
  }
  const std::string once = WriteUninstallLog(log);
  MemorySource again(once);
  if (WriteUninstallLog(ReadUninstallLog(again)) != once)
    std::abort();

  Variables vars;
  vars.MaxExpandedLength = 1 << 16;
  TSetupUninstallerData uninstaller;
  TSetupUninstallerMsgs msgs;
  TSetupData package;
  ApplyUninstallLog(log, uninstaller, msgs, package, vars);
  return 0;
}
