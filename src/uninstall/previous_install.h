// Detection of a previous installation of the package's own product, for the script's
// MODIFYMODE command. The uninstall-log reader implements it; without it nothing changes.
#pragma once

namespace kvb {

class PreviousInstallDetector {
 public:
  virtual ~PreviousInstallDetector() = default;
  // When the product is installed and its uninstall log exists: loads the log, makes its
  // component selection the custom selection and sets %SetupType% to "2". Otherwise does
  // nothing.
  virtual void DetectPreviousInstall() = 0;
};

}  // namespace kvb
