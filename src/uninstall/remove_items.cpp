#include "uninstall/remove_items.h"

#include <algorithm>
#include <set>

#include "base/text.h"
#include "setupdata/uninst_item_io.h"
#include "vars/variables.h"

namespace kvb {
namespace {

// Where the shared-file counts live, only kept from Windows 95 and NT 4 on.
constexpr int kFirstVersionWithSharedCounts = 4;

class ItemRemoval {
 public:
  ItemRemoval(RemovalContext& context,
              std::vector<TUninstItem>& items,
              std::vector<std::string>& not_removed,
              const RemovalCallbacks& callbacks)
      : c_(context), items_(items), not_removed_(not_removed), callbacks_(callbacks) {}

  bool Run(const RemovalSelection& selection) {
    if (items_.empty())
      return false;
    total_ = items_.size();
    not_removed_.clear();
    if (!Report())
      return false;
    for (const RemovalStep& step : PlanRemoval(items_, selection)) {
      Apply(step);
      if (step.Counted) {
        ++done_;
        if (!Report())
          return false;
      }
    }
    if (c_.Maintenance)
      DropRemovedItems();
    done_ = total_;
    Report();
    return true;
  }

 private:
  void Apply(const RemovalStep& step) {
    const TUninstItem& item = items_[step.Index];
    switch (step.Action) {
      case RemovalAction::kRemoveFile:
        RemoveFile(step.Index, item);
        break;
      case RemovalAction::kDeletePlainFile:
        DeletePlainFile(step.Index, item.Path);
        break;
      case RemovalAction::kRemoveConduit:
        RemoveConduit(item.Path);
        break;
      case RemovalAction::kRemoveFolder:
        RemoveFolder(step.Index, item.Path);
        break;
      case RemovalAction::kDeleteValue:
        DeleteValue(step.Index, item.RegChange);
        break;
      case RemovalAction::kDeleteEmptyKeys:
        DeleteEmptyKeys(item.RegChange);
        break;
      case RemovalAction::kKeep:
        break;
    }
  }

  void RemoveFile(size_t index, const TUninstItem& item) {
    if (!IsRemovablePath(item.Path))
      return NotRemoved(item.Path);
    removed_.insert(index);
    const TSetupFile& file = item.File;
    // A shared file that other products still count stays, and so do its registrations.
    if (file.SharedFile && c_.Machine.WindowsMajorVersion() >= kFirstVersionWithSharedCounts &&
        c_.Machine.ReleaseSharedDll(item.Path)) {
      still_shared_.push_back(item.Path);
      return;
    }
    // A file that is gone already raises no question; its registrations are still undone.
    if (c_.Machine.FileExists(item.Path) && !Decide(QuestionFor(file), item.Path))
      return;
    if (file.TypeLibrary)
      c_.Machine.UnregisterTypeLibrary(item.Path);
    if (file.SelfRegister || file.ActiveX)
      c_.Machine.UnregisterServer(item.Path);
    if (file.FontFlag)
      c_.Machine.RemoveFont(item.Path, file.FontName);
    DeletePath(item.Path);
    if (file.SharedFile)
      RemoveSharedFolder(item.Path);
  }

  // The folder of a shared file goes with the file's last user when it is left empty:
  // the product that created (and logged) it may have gone before, while another product
  // still used the file. The system's own folders stay.
  void RemoveSharedFolder(const std::string& file) {
    const std::string folder = ExcludeTrailingBackslash(ExtractFilePath(file));
    for (const char* system :
         {"%WinDir%", "%SysDir%", "%ProgramFilesDir%", "%CommonFilesDir%", "%FontsDir%"}) {
      if (SameText(ExcludeTrailingBackslash(c_.Vars.ExpandText(system)), folder))
        return;
    }
    if (IsRemovablePath(folder))
      c_.Machine.RemoveEmptyFolder(folder);
  }

  // Whether a file that raises `question` is deleted: a remembered answer, else the
  // user's answer; without a prompt the file goes.
  bool Decide(FileQuestion question, const std::string& path) {
    if (const std::optional<bool> remembered = answers_.Remembered(question))
      return *remembered;
    if (!c_.Prompt)
      return true;
    return answers_.Answer(question, c_.Prompt->Ask(Question(question, path)));
  }

  FileActionQuestion Question(FileQuestion kind, const std::string& path) {
    const int text = kind == FileQuestion::kSharedFile    ? kTextSharedQuestion
                     : kind == FileQuestion::kTypeLibrary ? kTextTypeLibraryQuestion
                                                          : kTextServerQuestion;
    FileActionQuestion q;
    q.Kind = kind;
    q.Caption = c_.Caption;
    q.Message = ReplaceAllText(c_.Vars.ExpandText(c_.Texts[text], true), "<file>", path);
    q.YesCaption = Expand(kTextYes);
    q.YesToAllCaption = Expand(kTextYesToAll);
    q.NoCaption = Expand(kTextNo);
    q.NoToAllCaption = Expand(kTextNoToAll);
    q.FileLabel = Expand(kTextExistingFile);
    q.File = path;
    return q;
  }

  void DeletePlainFile(size_t index, const std::string& path) {
    if (!IsRemovablePath(path))
      return NotRemoved(path);
    removed_.insert(index);
    DeletePath(path);
  }

  void DeletePath(const std::string& path) {
    c_.Machine.RemoveFile(path);
    if (c_.Machine.FileExists(path))
      NotRemoved(path);
  }

  void RemoveConduit(const std::string& creator) {
    if (!c_.Conduits || !c_.Conduits->RemoveConduit(creator))
      NotRemoved(Expand(kTextConduit) + " " + creator);
  }

  void RemoveFolder(size_t index, const std::string& path) {
    if (!IsRemovablePath(path))
      return NotRemoved(IncludeTrailingBackslash(path));
    c_.Machine.RemoveEmptyFolder(path);
    if (!c_.Machine.FolderExists(path)) {
      removed_.insert(index);
    } else if (!HoldsStillShared(path)) {
      NotRemoved(IncludeTrailingBackslash(path));
    }
  }

  // A folder that holds a file other products still use stays as it should.
  bool HoldsStillShared(const std::string& folder) const {
    const std::string prefix = IncludeTrailingBackslash(folder);
    for (const std::string& file : still_shared_) {
      if (StartsWithText(file, prefix))
        return true;
    }
    return false;
  }

  void DeleteValue(size_t index, const TSetupRegChange& change) {
    removed_.insert(index);
    const std::string key = KeyPath(change.Key);
    if (change.Root > 2 || (c_.Machine.ValueExists(Root(change.Root), key, change.ValueName) &&
                            !c_.Machine.DeleteValue(Root(change.Root), key, change.ValueName))) {
      NotRemoved(KeyText(change.Root, key) + "    " + Expand(kTextValue) + " " + change.ValueName);
    }
  }

  void DeleteEmptyKeys(const TSetupRegChange& change) {
    if (change.Root > 2)
      return;  // reported by its value
    for (const std::string& key : RegistryKeyChain(change.Key)) {
      if (!IsSystemKey(change.Root, key) && c_.Machine.KeyIsEmpty(Root(change.Root), key) &&
          !c_.Machine.DeleteKey(Root(change.Root), key)) {
        NotRemoved(KeyText(change.Root, key));
      }
    }
  }

  static RegRoot Root(uint8_t root) { return static_cast<RegRoot>(root); }

  static std::string KeyPath(const std::string& key) {
    std::vector<std::string> chain = RegistryKeyChain(key);
    return chain.empty() ? std::string() : chain.front();
  }

  std::string KeyText(uint8_t root, const std::string& key) {
    return Expand(kTextKey) + " " + RegistryRootName(root) + "\\" + key;
  }

  std::string Expand(int text) { return c_.Vars.ExpandText(c_.Texts[text]); }

  void NotRemoved(const std::string& text) {
    not_removed_.push_back(text);
    if (callbacks_.OnNotRemoved)
      callbacks_.OnNotRemoved(text);
  }

  bool Report() {
    if (!callbacks_.OnProgress)
      return true;
    if (c_.ProcessMessages)
      c_.ProcessMessages();
    return callbacks_.OnProgress(total_, done_);
  }

  void DropRemovedItems() {
    for (auto it = removed_.rbegin(); it != removed_.rend(); ++it)
      items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(*it));
  }

  RemovalContext& c_;
  std::vector<TUninstItem>& items_;
  std::vector<std::string>& not_removed_;
  const RemovalCallbacks& callbacks_;
  RemovalAnswers answers_;
  std::set<size_t> removed_;               // indexes of the items of removed components
  std::vector<std::string> still_shared_;  // shared files kept for other products
  size_t total_ = 0;
  size_t done_ = 0;
};

}  // namespace

bool RemoveItems(RemovalContext& context,
                 std::vector<TUninstItem>& items,
                 std::vector<std::string>& not_removed,
                 const RemovalSelection& selection,
                 const RemovalCallbacks& callbacks) {
  return ItemRemoval(context, items, not_removed, callbacks).Run(selection);
}

std::string RegistryRootName(uint8_t root) {
  switch (root) {
    case 0:
      return "HKEY_CLASSES_ROOT";
    case 1:
      return "HKEY_CURRENT_USER";
    case 2:
      return "HKEY_LOCAL_MACHINE";
    default:
      return "root " + std::to_string(root);
  }
}

}  // namespace kvb
