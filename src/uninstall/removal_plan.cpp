#include "uninstall/removal_plan.h"

#include <algorithm>

#include "base/text.h"
#include "setupdata/uninst_item_io.h"

namespace kvb {
namespace {

bool InList(std::string_view name, std::string_view list) {
  for (const std::string& entry : SplitText(list, "|")) {
    if (!entry.empty() && SameText(entry, name))
      return true;
  }
  return false;
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The part behind "C:\" or "\\server\share\", or nullopt when the path has neither.
std::optional<std::string_view> BelowRoot(std::string_view path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && IsSeparator(path[2]))
    return path.substr(3);
  if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1]))
    return std::nullopt;
  // "\\server\share": both names present.
  size_t pos = 2;
  for (int part = 0; part < 2; ++part) {
    const size_t end = path.find_first_of("\\/", pos);
    if (end == pos)
      return std::nullopt;
    if (end == std::string_view::npos)
      return part == 1 ? std::optional<std::string_view>(std::string_view()) : std::nullopt;
    pos = end + 1;
  }
  return path.substr(pos);
}

void AddFileSteps(const std::vector<TUninstItem>& items,
                  const RemovalSelection& selection,
                  std::vector<RemovalStep>& steps) {
  for (size_t i = 0; i < items.size(); ++i) {
    const TUninstItem& item = items[i];
    RemovalAction action = RemovalAction::kKeep;
    switch (item.Kind) {
      case kItemFile:
      case kItemDeviceFile:
        if (ComponentsMatch(item.File.Components, selection))
          action = RemovalAction::kRemoveFile;
        break;
      case kItemPlainFile:
        if (selection.RemoveAll)
          action = RemovalAction::kDeletePlainFile;
        break;
      case kItemConduit:
        // A conduit serves the whole product: it goes with the product, never with one
        // of its components.
        if (selection.RemoveAll)
          action = RemovalAction::kRemoveConduit;
        break;
      default:
        continue;
    }
    steps.push_back({action, i, true});
  }
}

void AddFolderSteps(const std::vector<TUninstItem>& items, std::vector<RemovalStep>& steps) {
  for (size_t i = items.size(); i-- > 0;) {
    if (items[i].Kind == kItemFolder)
      steps.push_back({RemovalAction::kRemoveFolder, i, true});
  }
}

void AddRegistrySteps(const std::vector<TUninstItem>& items,
                      const RemovalSelection& selection,
                      std::vector<RemovalStep>& steps) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].Kind != kItemRegistryValue)
      continue;
    const bool match = ComponentsMatch(items[i].RegChange.Components, selection);
    steps.push_back({match ? RemovalAction::kDeleteValue : RemovalAction::kKeep, i, true});
  }
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].Kind == kItemRegistryValue &&
        ComponentsMatch(items[i].RegChange.Components, selection)) {
      steps.push_back({RemovalAction::kDeleteEmptyKeys, i, false});
    }
  }
}

}  // namespace

bool ComponentsMatch(std::string_view item_components, const RemovalSelection& selection) {
  if (selection.RemoveAll)
    return true;
  bool removed = false;
  for (const std::string& name : SplitText(item_components, "|")) {
    if (name.empty())
      continue;
    if (InList(name, selection.Kept))
      return false;
    removed = removed || InList(name, selection.Components);
  }
  return removed;
}

std::vector<std::string> RegistryKeyChain(std::string_view key) {
  std::vector<std::string> parts;
  for (const std::string& part : SplitText(key, "\\")) {
    if (!part.empty())
      parts.push_back(part);
  }
  std::vector<std::string> chain;
  std::string path;
  for (const std::string& part : parts) {
    path += path.empty() ? part : "\\" + part;
    chain.push_back(path);
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

bool IsSystemKey(uint8_t root, std::string_view key) {
  // Collections of class registrations, directly under HKEY_CLASSES_ROOT or under
  // "Software\Classes" of the other roots.
  static constexpr std::string_view kClassLists[] = {"CLSID",        "Interface",
                                                     "TypeLib",      "AppID",
                                                     "Applications", "*",
                                                     "Directory",    "Folder",
                                                     "Drive",        "AllFilesystemObjects",
                                                     "MIME",         "SystemFileAssociations",
                                                     "Record"};
  const std::vector<std::string> chain = RegistryKeyChain(key);
  const size_t depth = chain.size();
  if (depth == 0)
    return true;
  std::vector<std::string> parts = SplitText(chain.front(), "\\");
  size_t classes = 0;  // where class registrations start in this key
  if (root != 0) {
    if (depth == 1)
      return true;
    const std::string& first = parts[0];
    const std::string& second = parts[1];
    if (SameText(first, "System"))
      return depth <= 3;
    if (!SameText(first, "Software"))
      return false;
    if (SameText(second, "Microsoft"))
      return depth <= 5;
    if (SameText(second, "Policies") || SameText(second, "Wow6432Node"))
      return depth <= 2;
    if (!SameText(second, "Classes"))
      return false;
    if (depth == 2)
      return true;
    classes = 2;
  }
  if (depth != classes + 1)
    return false;
  for (std::string_view list : kClassLists) {
    if (SameText(parts[classes], list))
      return true;
  }
  return false;
}

FileQuestion QuestionFor(const TSetupFile& file) {
  if (file.SharedFile)
    return FileQuestion::kSharedFile;
  if (file.TypeLibrary)
    return FileQuestion::kTypeLibrary;
  if (file.SelfRegister || file.ActiveX)
    return FileQuestion::kServer;
  return FileQuestion::kNone;
}

int RemovalAnswers::*RemovalAnswers::SlotOf(FileQuestion question) {
  switch (question) {
    case FileQuestion::kSharedFile:
      return &RemovalAnswers::shared_;
    case FileQuestion::kTypeLibrary:
      return &RemovalAnswers::type_library_;
    case FileQuestion::kServer:
      return &RemovalAnswers::server_;
    case FileQuestion::kNone:
      break;
  }
  return nullptr;
}

std::optional<bool> RemovalAnswers::Remembered(FileQuestion question) const {
  int RemovalAnswers::*slot = SlotOf(question);
  if (!slot)
    return true;  // nothing to ask: the file goes
  if (this->*slot == 0)
    return std::nullopt;
  return this->*slot > 0;
}

bool RemovalAnswers::Answer(FileQuestion question, FileAnswer answer) {
  int RemovalAnswers::*slot = SlotOf(question);
  switch (answer) {
    case FileAnswer::kYesToAll:
      if (slot)
        this->*slot = 1;
      return true;
    case FileAnswer::kNoToAll:
      if (slot)
        this->*slot = -1;
      return false;
    case FileAnswer::kYes:
      return true;
    case FileAnswer::kNo:
      break;
  }
  return false;
}

std::vector<RemovalStep> PlanRemoval(const std::vector<TUninstItem>& items,
                                     const RemovalSelection& selection) {
  std::vector<RemovalStep> steps;
  AddFileSteps(items, selection, steps);
  AddFolderSteps(items, steps);
  AddRegistrySteps(items, selection, steps);
  return steps;
}

bool IsRemovablePath(std::string_view path) {
  if (path.find_first_of("*?\"<>|") != std::string_view::npos)
    return false;
  const std::optional<std::string_view> rest = BelowRoot(path);
  if (!rest)
    return false;
  for (const std::string& part : SplitText(std::string(*rest), "\\")) {
    for (const std::string& piece : SplitText(part, "/")) {
      if (piece == "." || piece == ".." || piece.find(':') != std::string::npos)
        return false;
    }
  }
  return true;
}

std::string ComponentsNotIn(std::string_view components, std::string_view other) {
  std::vector<std::string> names;
  for (const std::string& name : SplitText(components, "|")) {
    if (!name.empty() && !InList(name, other) && !InList(name, JoinText(names, "|")))
      names.push_back(name);
  }
  return JoinText(names, "|");
}

}  // namespace kvb
