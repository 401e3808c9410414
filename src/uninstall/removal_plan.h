// The decisions of a removal, made from the uninstall log's items alone: which items a
// removal reaches, in which order, which question a file raises and which registry keys
// may go with a value. Nothing here touches the machine, so the order and the matching
// are tested without files or a registry.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setupdata/records.h"

namespace kvb {

// What a removal takes away.
struct RemovalSelection {
  // A complete removal of the product: every item goes, those without components too.
  bool RemoveAll = false;
  // A partial removal: the components being removed, and the components that stay
  // installed ("|"-separated names, compared case-insensitively).
  std::string Components;
  std::string Kept;
};

// True when an item with the component list `item_components` goes. In a complete
// removal every item goes. In a partial removal an item without components stays; an
// item with components goes when one of its names is being removed and none of them
// stays installed, because a file that several components share is needed as long as
// one of them is installed.
bool ComponentsMatch(std::string_view item_components, const RemovalSelection& selection);

// The registry keys that may go with a value under `key`: the key itself and each parent
// down to the first path element, deepest first. Leading, trailing and doubled
// backslashes are ignored.
std::vector<std::string> RegistryKeyChain(std::string_view key);

// True for a key the system keeps whether empty or not: the top keys of a root (but for
// the file types directly under HKEY_CLASSES_ROOT), the class registrations' collections
// (CLSID, TypeLib, Interface ...), "Software\Classes", "Software\Microsoft" and its keys
// down to the lists of "...\CurrentVersion" (Uninstall, Run, App Paths, SharedDLLs ...),
// "Software\Policies", and "System" down to the service and control lists. A removal never
// deletes them, even when emptied: an installation does not log which keys it created,
// and these may have stood empty before it.
bool IsSystemKey(uint8_t root, std::string_view key);

// The question a file raises before it is deleted; the first flag that applies decides.
enum class FileQuestion { kNone, kSharedFile, kTypeLibrary, kServer };
FileQuestion QuestionFor(const TSetupFile& file);

// Answers of the four-button question, with the platform's modal-result values.
enum class FileAnswer : int { kYes = 6, kNo = 7, kNoToAll = 9, kYesToAll = 10 };

// The answers remembered during one removal, per kind of question: after "Yes To All"
// every further file of that kind is deleted, after "No To All" kept, without asking.
class RemovalAnswers {
 public:
  // True (delete) or false (keep) when an earlier answer decides, or when the file
  // raises no question (kNone: it is deleted); nullopt: ask.
  std::optional<bool> Remembered(FileQuestion question) const;
  // Records an answer and returns whether the file is deleted.
  bool Answer(FileQuestion question, FileAnswer answer);

 private:
  static int RemovalAnswers::*SlotOf(FileQuestion question);

  // 0 ask, 1 delete without asking, -1 keep without asking.
  int shared_ = 0;
  int type_library_ = 0;
  int server_ = 0;
};

// One step of a removal: what is done to which item, in the order of the four passes
// (files, conduits and plain files in log order; folders in reverse log order;
// registry values in log order; then the emptied registry keys in log order).
enum class RemovalAction {
  kRemoveFile,       // an installed or device file of a removed component
  kDeletePlainFile,  // a plain file that goes with the whole product
  kRemoveConduit,    // a HotSync conduit registration
  kRemoveFolder,     // a created folder, removed when empty
  kDeleteValue,      // a registry value of a removed component
  kDeleteEmptyKeys,  // the value's key chain, each key removed when empty
  kKeep,             // nothing is done; the item only counts towards the progress
};

struct RemovalStep {
  RemovalAction Action = RemovalAction::kKeep;
  size_t Index = 0;      // the item's index in the log
  bool Counted = false;  // advances the progress
};

// The steps of a removal of `items`. Every item of kinds 0, 1, 2, 4, 5 and 6 is counted
// once; the uninstaller program (kind 3) and unknown kinds are never touched. Plain
// files and conduits go only with the whole product.
std::vector<RemovalStep> PlanRemoval(const std::vector<TUninstItem>& items,
                                     const RemovalSelection& selection);

// True when a logged path may be acted on: a full path with a drive ("C:\...") or a
// network share ("\\server\share\..."), no "." or ".." element and no wildcard. A log
// that names anything else is damaged; such an item is left alone.
bool IsRemovablePath(std::string_view path);

// The names of the "|"-separated list `components` that `other` does not name, each once,
// in their order. A maintenance run removes ComponentsNotIn(installed before, selected
// now) and installs ComponentsNotIn(selected now, installed before).
std::string ComponentsNotIn(std::string_view components, std::string_view other);

}  // namespace kvb
