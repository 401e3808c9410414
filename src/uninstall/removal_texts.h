// The uninstaller's texts by index: the 30 texts an uninstall log carries in the
// installation's language (copies of messages 36-45, 63, 58, 59, 52, 60, 46-49, 19, 0, 1,
// 57, 6, 2, 4, 3, 5, 67 and 68).
#pragma once

#include "uninstall/uninstall_log.h"

namespace kvb {

using UninstallerTexts = TSetupUninstallerMsgs;

enum UninstallerText : int {
  kTextTitle = 0,                    // "%SoftwareName% Uninstaller"
  kTextConfirm = 1,                  // "Do you want to uninstall %SoftwareName% from Desktop?"
  kTextUninstalling = 2,             // "Uninstalling %SoftwareName%..."
  kTextCompleted = 3,                // "Uninstall completed with success."
  kTextIncomplete = 4,               // "Uninstall can not delete all %SoftwareName% items."
  kTextSharedQuestion = 5,           // "<file> is a shared file. ..."
  kTextTypeLibraryQuestion = 6,      // "<file> is a type library. ..."
  kTextServerQuestion = 7,           // "<file> is a ActiveX file. ..."
  kTextKey = 8,                      // "Key:"
  kTextValue = 9,                    // "Value:"
  kTextConduit = 10,                 // "Conduit:"
  kTextUninstallingComponents = 12,  // "Uninstalling %SoftwareName% Components..."
  kTextOk = 20,
  kTextCancel = 21,
  kTextClose = 23,
  kTextYes = 24,
  kTextYesToAll = 25,
  kTextNo = 26,
  kTextNoToAll = 27,
  kTextExistingFile = 28,  // "Existent File"
};

}  // namespace kvb
