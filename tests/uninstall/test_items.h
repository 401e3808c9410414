// Uninstall items for the removal tests.
#pragma once

#include <string>

#include "setupdata/records.h"
#include "setupdata/uninst_item_io.h"

namespace kvb {

inline TUninstItem PathItem(uint8_t kind, const std::string& path) {
  TUninstItem item;
  item.Kind = kind;
  item.Path = path;
  return item;
}

inline TUninstItem FileItem(const std::string& path,
                            const std::string& components,
                            uint8_t kind = kItemFile) {
  TUninstItem item = PathItem(kind, path);
  item.File.SourceName = path.substr(path.rfind('\\') + 1);
  item.File.Components = components;
  return item;
}

inline TUninstItem FolderItem(const std::string& path) {
  return PathItem(kItemFolder, path);
}

inline TUninstItem ValueItem(uint8_t root,
                             const std::string& key,
                             const std::string& name,
                             const std::string& components = "") {
  TUninstItem item = PathItem(kItemRegistryValue, "");
  item.RegChange.Root = root;
  item.RegChange.Key = key;
  item.RegChange.ValueName = name;
  item.RegChange.Components = components;
  return item;
}

}  // namespace kvb
