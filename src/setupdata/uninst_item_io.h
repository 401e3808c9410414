// Stored form of the installation actions kept in the uninstall log: u8 kind, then
// for kinds 0 and 1 a zstr path and a file record, for kinds 2, 3, 4 and 6 a zstr
// path, for kind 5 a registry record, for any other kind nothing. Logs of the older
// tags store the file and registry records in their old form.
#pragma once

#include "setupdata/byte_reader.h"
#include "setupdata/byte_writer.h"
#include "setupdata/records.h"

namespace kvb {

enum UninstItemKind : uint8_t {
  kItemFile = 0,           // installed file or created shortcut
  kItemDeviceFile = 1,     // device file staged for the device step
  kItemPlainFile = 2,      // plain file to delete
  kItemUninstaller = 3,    // the uninstaller program
  kItemFolder = 4,         // created folder
  kItemRegistryValue = 5,  // registry value
  kItemConduit = 6,        // registered HotSync conduit
};

inline constexpr size_t kMinUninstItemSize = 1;

TUninstItem ReadUninstItem(ByteReader& in, StreamForm form = StreamForm::kCurrent);
void WriteUninstItem(ByteWriter& out,
                     const TUninstItem& item,
                     StreamForm form = StreamForm::kCurrent);

// The file record as the uninstall log keeps it: the bare file names of SourceName
// and ExtraText2 (the text behind the last '\\', '/' or ':'), and overwrite mode 7
// turned into 8 with the shared-file flag set. Applying it twice changes nothing.
TSetupFile LogFileRecord(const TSetupFile& file);

}  // namespace kvb
