#include "uninstall/fake_removal_machine.h"

#include "base/text.h"

namespace kvb {
namespace {

std::string Folded(const std::string& path) {
  std::string folded = UpperText(path);
  while (folded.size() > 1 && (folded.back() == '\\' || folded.back() == '/'))
    folded.pop_back();
  return folded;
}

}  // namespace

void FakeRemovalMachine::AddFile(const std::string& path) {
  files_.insert(Folded(path));
  AddFolder(ExtractFilePath(path));
}

void FakeRemovalMachine::AddFolder(const std::string& path) {
  // Every folder up to the root.
  for (std::string folder = Folded(path); folder.size() > 2 && !folders_.count(folder);
       folder = Folded(ExtractFilePath(folder))) {
    folders_.insert(folder);
  }
}

void FakeRemovalMachine::SetValue(RegRoot root,
                                  const std::string& key,
                                  const std::string& name,
                                  const std::string& data) {
  AddKey(root, key);
  values_[{root, UpperText(key)}][UpperText(name)] = data;
}

void FakeRemovalMachine::AddKey(RegRoot root, const std::string& key) {
  std::string path = UpperText(key);
  for (;;) {
    keys_.insert({root, path});
    const size_t cut = path.rfind('\\');
    if (cut == std::string::npos)
      break;
    path.resize(cut);
  }
}

bool FakeRemovalMachine::HasKey(RegRoot root, const std::string& key) const {
  return keys_.count({root, UpperText(key)}) > 0;
}

bool FakeRemovalMachine::HasValue(RegRoot root,
                                  const std::string& key,
                                  const std::string& name) const {
  const auto it = values_.find({root, UpperText(key)});
  return it != values_.end() && it->second.count(UpperText(name)) > 0;
}

bool FakeRemovalMachine::FileExists(const std::string& path) {
  return files_.count(Folded(path)) > 0;
}

bool FakeRemovalMachine::FolderExists(const std::string& path) {
  return folders_.count(Folded(path)) > 0;
}

bool FakeRemovalMachine::RemoveFile(const std::string& path) {
  journal.push_back("remove-file " + path);
  if (locked_files.count(Folded(path)))
    return false;
  files_.erase(Folded(path));
  return true;
}

bool FakeRemovalMachine::HasChildren(const std::string& folder) const {
  const std::string prefix = folder + "\\";
  for (const std::set<std::string>* set : {&files_, &folders_}) {
    const auto it = set->lower_bound(prefix);
    if (it != set->end() && it->compare(0, prefix.size(), prefix) == 0)
      return true;
  }
  return false;
}

bool FakeRemovalMachine::RemoveEmptyFolder(const std::string& path) {
  journal.push_back("remove-folder " + path);
  const std::string folder = Folded(path);
  if (HasChildren(folder))
    return false;
  folders_.erase(folder);
  return true;
}

bool FakeRemovalMachine::ValueExists(RegRoot root,
                                     const std::string& key,
                                     const std::string& name) {
  return HasValue(root, key, name);
}

bool FakeRemovalMachine::DeleteValue(RegRoot root,
                                     const std::string& key,
                                     const std::string& name) {
  journal.push_back("delete-value " + key + "|" + name);
  if (locked_values.count(UpperText(key + "|" + name)))
    return false;
  const auto it = values_.find({root, UpperText(key)});
  if (it != values_.end())
    it->second.erase(UpperText(name));
  return true;
}

bool FakeRemovalMachine::HasSubkeys(const Key& key) const {
  const std::string prefix = key.second + "\\";
  const auto it = keys_.lower_bound({key.first, prefix});
  return it != keys_.end() && it->first == key.first &&
         it->second.compare(0, prefix.size(), prefix) == 0;
}

bool FakeRemovalMachine::KeyIsEmpty(RegRoot root, const std::string& key) {
  const Key k{root, UpperText(key)};
  if (!keys_.count(k) || HasSubkeys(k))
    return false;
  const auto it = values_.find(k);
  return it == values_.end() || it->second.empty();
}

bool FakeRemovalMachine::DeleteKey(RegRoot root, const std::string& key) {
  journal.push_back("delete-key " + key);
  const Key k{root, UpperText(key)};
  if (locked_keys.count(k.second) || HasSubkeys(k))
    return false;
  keys_.erase(k);
  values_.erase(k);
  return true;
}

bool FakeRemovalMachine::DeleteKeyTree(RegRoot root, const std::string& key) {
  journal.push_back("delete-tree " + key);
  const std::string path = UpperText(key);
  const std::string prefix = path + "\\";
  for (auto it = keys_.begin(); it != keys_.end();) {
    if (it->first == root && (it->second == path || it->second.rfind(prefix, 0) == 0)) {
      values_.erase(*it);
      it = keys_.erase(it);
    } else {
      ++it;
    }
  }
  return true;
}

std::optional<std::string> FakeRemovalMachine::ReadString(RegRoot root,
                                                          const std::string& key,
                                                          const std::string& name) {
  const auto it = values_.find({root, UpperText(key)});
  if (it == values_.end())
    return std::nullopt;
  const auto value = it->second.find(UpperText(name));
  if (value == it->second.end())
    return std::nullopt;
  return value->second;
}

std::vector<std::string> FakeRemovalMachine::SubkeyNames(RegRoot root, const std::string& key) {
  std::vector<std::string> names;
  const std::string prefix = UpperText(key) + "\\";
  for (const Key& k : keys_) {
    if (k.first == root && k.second.compare(0, prefix.size(), prefix) == 0 &&
        k.second.find('\\', prefix.size()) == std::string::npos) {
      names.push_back(k.second.substr(prefix.size()));
    }
  }
  return names;
}

bool FakeRemovalMachine::ReleaseSharedDll(const std::string& path) {
  journal.push_back("release " + path);
  const auto it = shared_counts.find(Folded(path));
  if (it == shared_counts.end())
    return false;
  if (--it->second > 0)
    return true;
  shared_counts.erase(it);
  return false;
}

void FakeRemovalMachine::UnregisterServer(const std::string& path) {
  journal.push_back("unregister-server " + path);
}

void FakeRemovalMachine::UnregisterTypeLibrary(const std::string& path) {
  journal.push_back("unregister-typelib " + path);
}

void FakeRemovalMachine::RemoveFont(const std::string& path, const std::string& font_name) {
  journal.push_back("remove-font " + path + "|" + font_name);
}

FileAnswer ScriptedPrompt::Ask(const FileActionQuestion& question) {
  asked.push_back(question);
  if (asked.size() > answers.size())
    return FileAnswer::kNo;
  return answers[asked.size() - 1];
}

}  // namespace kvb
