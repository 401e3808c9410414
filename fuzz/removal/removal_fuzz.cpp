// Removes what arbitrary uninstall logs list from an in-memory machine on which every
// listed file, folder and value exists, with the selection taken from the input's first
// byte; and reads the input as an uninstaller command line. Nothing may crash or loop, a
// complete removal must report its progress up to the item count, and a maintenance run
// may only shorten the item list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setupdata/byte_source.h"
#include "setupdata/uninst_item_io.h"
#include "tools/kvbuninst/uninstaller_options.h"
#include "uninstall/fake_removal_machine.h"
#include "uninstall/remove_items.h"
#include "uninstall/uninstall_log.h"
#include "vars/variables.h"

namespace {

using namespace kvb;

void LayOut(FakeRemovalMachine& machine, const std::vector<TUninstItem>& items) {
  for (const TUninstItem& item : items) {
    if (item.Kind == kItemFolder && IsRemovablePath(item.Path))
      machine.AddFolder(item.Path);
    else if (item.Kind != kItemRegistryValue && IsRemovablePath(item.Path))
      machine.AddFile(item.Path);
    else if (item.Kind == kItemRegistryValue && item.RegChange.Root <= 2)
      machine.SetValue(static_cast<RegRoot>(item.RegChange.Root), item.RegChange.Key,
                       item.RegChange.ValueName);
  }
}

void Remove(uint8_t flags, TUninstallLog log) {
  FakeRemovalMachine machine;
  LayOut(machine, log.Items);
  Variables vars;
  RemovalContext context(machine, vars, log.Messages, "Setup");
  context.Maintenance = (flags & 2) != 0;
  ScriptedPrompt prompt;
  prompt.answers = {FileAnswer::kYes, FileAnswer::kNoToAll, FileAnswer::kYesToAll};
  if (flags & 4)
    context.Prompt = &prompt;
  RemovalSelection selection;
  selection.RemoveAll = (flags & 1) != 0;
  selection.Components = log.InstalledComponents;
  selection.Kept = (flags & 8) ? log.SoftwareName : "";
  size_t last = 0;
  RemovalCallbacks callbacks;
  callbacks.OnProgress = [&last](size_t total, size_t done) {
    if (done > total || done < last)
      std::abort();
    last = done;
    return true;
  };
  std::vector<std::string> not_removed;
  const size_t before = log.Items.size();
  const bool result = RemoveItems(context, log.Items, not_removed, selection, callbacks);
  if (log.Items.size() > before || (result && last != before))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  ParseUninstallerCommandLine(bytes);
  MemorySource source(bytes);
  try {
    Remove(data[0], ReadUninstallLog(source));
  } catch (const FormatError&) {
  }
  return 0;
}
