// Exit codes of kvbsetup.exe. A number, once given out, keeps its meaning; retired
// numbers stay here as comments. 1 is not used, so that a generic failure of the
// process is never taken for one of these.
#pragma once

namespace kvb {

enum SetupExitCode : int {
  kExitNormal = 0,         // the run ended without a fatal start-up message
  kExitInternalError = 2,  // "internal setup error": own file, trailer or header unreadable,
                           // no temporary folder could be created, a temporary file could
                           // not be placed, an unexpected failure
  kExitCorruptedData = 3,  // "corrupted setup data": the trailer's magic differs, a signed
                           // file's certificate table lies about its place, a section or
                           // the temporary-file archive is damaged
  kExitRequiredSoftwareMissing = 4,  // ActiveSync or HotSync is required and missing
  kExitStoppedByScript = 5,          // the start-up script stopped the setup
  kExitComFailed = 6,                // COM could not be initialised
  kExitCancelledByUser = 7,          // the user closed the wizard before its end
  kExitWizardFailed = 8,             // the wizard ended the setup: a machine requirement
                                     // failed, the install drive could not be read or had
                                     // too little space
};

}  // namespace kvb
