#include "setupdata/default_messages.h"

namespace kvb {

namespace {

constexpr std::array<std::string_view, kMessageCount> kTexts = {
    "OK",
    "Cancel",
    "Yes",
    "No",
    "Yes To All",
    "No To All",
    "Close",
    "Do you want to close the Setup?",
    "Microsoft ActiveSync was not found on this computer. %SoftwareName% needs it to "
    "install on your handheld; you can get it free of charge from the Microsoft web site "
    "(www.microsoft.com). Setup will now exit. Please run this installation again once "
    "ActiveSync is installed.",
    "Setup is copying the files. Do you want to close the Setup?",
    "Can not create the Setup directories.",
    "Can not create the Add/Remove Programs entry.",
    "Can not read drive <drive>. Setup cannot continue and will now exit.",
    "Drive <drive> have not space to install %SoftwareName%. Setup cannot continue and will "
    "now exit.",
    "%SoftwareName% should cause errors.",
    "You can not continue, you can not skip this file.",
    "Kalvenbrooker cannot create the program group.",
    "Error changing Windows Registry.",
    "%SoftwareName% does not support the Windows version of current machine. Setup cannot "
    "continue and will now exit.",
    "<file> not found, you can not continue.",
    "Disk <disk> data not found in selected path.",
    "Shared file registration Error: <file>",
    "Register Server Error: <file>",
    "Register Type Library Error: <file>",
    "Error creating Windows shortcuts.",
    "The file <file> already exists. Do you want to replace this file?",
    "The file <file> already exists. Do you want to replace this file with a newer version?",
    "The file <file> already exists. Do you want to replace this file with a older version?",
    "Copying files...",
    "Device Files",
    "Uninstaller Files",
    "Starting device install...",
    "Closing %SoftwareName% Setup...",
    "Registering files...",
    "Creating shortcuts...",
    "Creating registry entries...",
    "%SoftwareName% Uninstaller",
    "Do you want to uninstall %SoftwareName% from Desktop?",
    "Uninstalling %SoftwareName%...",
    "Uninstall completed with success.",
    "Uninstall can not delete all %SoftwareName% items.",
    "<file> is a shared file. Do you want to delete this file?",
    "<file> is a type library. Do you want to delete this file?",
    "<file> is a ActiveX file. Do you want to delete this file?",
    "Key:",
    "Value:",
    "Directory Selection",
    "Directory",
    "Directories",
    "Drives",
    "Setup Needs the Next Disk",
    "Please insert Disk <disk> and click OK. If the files on this disk can be found in a "
    "folder other than the one displayed below, enter the correct path or click Browse.",
    "Path",
    "%CompanyName% %SoftwareName% Setup is starting, please wait...",
    "%SoftwareName% needs more screen size. Setup cannot continue and will now exit.",
    "%SoftwareName% needs more color resolution. Setup cannot continue and will now exit.",
    "%SoftwareName% needs more RAM memory. Setup cannot continue and will now exit.",
    "Browse",
    "Please, insert the first disk of %SoftwareName% into the drive <drive> to continue.",
    "Uninstalling %SoftwareName% Components...",
    "Default",
    "Connecting to Windows CE device...",
    "Conduit file registration Error: <file>",
    "Conduit:",
    "The Palm HotSync Manager was not found on this computer. %SoftwareName% needs it to "
    "install on your handheld; it comes with the Palm Desktop software, available from the "
    "Palm web site (www.palm.com). Setup will now exit. Please run this installation again "
    "once HotSync is installed.",
    "Copying <component>...",
    "Setup cannot create the file <file>. This file must be in use or protected.",
    "Existent File",
    "Destination File",
};

}  // namespace

const std::array<std::string_view, kMessageCount>& DefaultMessageTexts() {
  return kTexts;
}

TSetupMessage DefaultMessages(int32_t language_id) {
  TSetupMessage table;
  for (int i = 0; i < kMessageCount; ++i)
    table.Texts[i] = std::string(kTexts[i]);
  table.LanguageId = language_id;
  return table;
}

}  // namespace kvb
