#include "setupdata/uninst_item_io.h"

#include "base/text.h"
#include "setupdata/record_io.h"

namespace kvb {

namespace {

bool HasFileRecord(uint8_t kind) {
  return kind == kItemFile || kind == kItemDeviceFile;
}

bool HasPathOnly(uint8_t kind) {
  return kind == kItemPlainFile || kind == kItemUninstaller || kind == kItemFolder ||
         kind == kItemConduit;
}

}  // namespace

TUninstItem ReadUninstItem(ByteReader& in, StreamForm form) {
  TUninstItem item;
  item.Kind = in.U8();
  if (HasFileRecord(item.Kind)) {
    item.Path = in.ZStr();
    item.File = ReadSetupFile(in, form);
  } else if (HasPathOnly(item.Kind)) {
    item.Path = in.ZStr();
  } else if (item.Kind == kItemRegistryValue) {
    item.RegChange = ReadRegChange(in, form);
  }
  return item;
}

void WriteUninstItem(ByteWriter& out, const TUninstItem& item, StreamForm form) {
  out.U8(item.Kind);
  if (HasFileRecord(item.Kind)) {
    out.ZStr(item.Path);
    WriteSetupFile(out, item.File, form);
  } else if (HasPathOnly(item.Kind)) {
    out.ZStr(item.Path);
  } else if (item.Kind == kItemRegistryValue) {
    WriteRegChange(out, item.RegChange, form);
  }
}

TSetupFile LogFileRecord(const TSetupFile& file) {
  TSetupFile logged = file;
  logged.SourceName = ExtractFileName(file.SourceName);
  logged.ExtraText2 = ExtractFileName(file.ExtraText2);
  if (logged.OverwriteMode == 7) {
    logged.OverwriteMode = 8;
    logged.SharedFile = 1;
  }
  return logged;
}

}  // namespace kvb
