#include "startup/startup_sequence.h"

#include "startup/exit_codes.h"

namespace kvb {

int TSetupStartup::Run() {
  InitApplication();
  if (!ReadPackageHeader())
    return EndRun(kInternalErrorText, kExitInternalError);
  if (!CheckMagic())
    return EndRun(kCorruptedDataText, kExitCorruptedData);
  // The package is intact. The steps that follow (temporary folder, variables, messages,
  // loader, temporary files, start-up script, main form) join here as they are built.
  return kExitNormal;
}

void TSetupStartup::InitApplication() {
  host_.SetTitle(kApplicationTitle);
}

bool TSetupStartup::ReadPackageHeader() {
  setup_file_ = host_.OpenOwnFile();
  return setup_file_ && ReadSetupData(*setup_file_, header_);
}

bool TSetupStartup::CheckMagic() {
  return header_.Trailer.Magic == kSetupMagic;
}

int TSetupStartup::EndRun(const char* text, int exit_code) {
  host_.ShowMessage(text, MessageIcon::kStop);
  return exit_code;
}

}  // namespace kvb
