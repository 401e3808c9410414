// RemoveItems: the one removal routine behind a complete removal (the uninstaller program
// and the script command that removes a product) and the removal of the components that a
// maintenance run deselects.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "setupdata/records.h"
#include "uninstall/removal_machine.h"
#include "uninstall/removal_plan.h"
#include "uninstall/removal_texts.h"

namespace kvb {

class Variables;

// What a removal works with. References must outlive the call.
struct RemovalContext {
  RemovalContext(RemovalMachine& machine,
                 Variables& vars,
                 const UninstallerTexts& texts,
                 std::string caption)
      : Machine(machine), Vars(vars), Texts(texts), Caption(std::move(caption)) {}

  RemovalMachine& Machine;
  Variables& Vars;                // expands the texts
  const UninstallerTexts& Texts;  // the log's texts
  std::string Caption;            // caption of the questions (the application title)
  // Asks the four-button question; none (an unattended removal): every question is
  // answered "Yes", so the files go.
  FileActionPrompt* Prompt = nullptr;
  // None: no HotSync support; conduit items stay and are reported.
  ConduitRemover* Conduits = nullptr;
  // Dispatches pending window messages before each progress report; may be unset.
  std::function<void()> ProcessMessages;
  // A maintenance run: the items of the removed components leave the item list, so
  // that the list describes what stays installed.
  bool Maintenance = false;
};

struct RemovalCallbacks {
  // Called for every item that stays in place, with the text that names it (also added to
  // the not-removed list).
  std::function<void(const std::string& text)> OnNotRemoved;
  // Called at the start, after each counted item and at the end (done = total); returning
  // false stops the removal at once.
  std::function<bool(size_t total, size_t done)> OnProgress;
};

// Removes what `selection` reaches of `items` in four passes: files, conduits and plain
// files in log order; created folders in reverse order, each only when empty; registry
// values; then the keys those values leave empty, deepest first. Shared files have their
// count lowered and are deleted only when no other product uses them, after the question
// of the log's texts (answers "to all" are remembered per kind of question); servers and
// type libraries are unregistered and fonts removed before their files go. Everything
// that stays is named in `not_removed` (cleared first) and through OnNotRemoved, but for
// shared files other products still use and the folders that stay for them; the removal
// goes on. The uninstaller program's item (kind 3) is never touched.
//
// Returns false for an empty list (nothing is done) and when OnProgress stopped the
// removal; true otherwise, even when some items stayed.
bool RemoveItems(RemovalContext& context,
                 std::vector<TUninstItem>& items,
                 std::vector<std::string>& not_removed,
                 const RemovalSelection& selection,
                 const RemovalCallbacks& callbacks = {});

// The registry root's name as the not-removed texts show it ("HKEY_LOCAL_MACHINE").
std::string RegistryRootName(uint8_t root);

}  // namespace kvb
