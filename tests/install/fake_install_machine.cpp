#include "fake_install_machine.h"

#include "base/text.h"
#include "setupdata/byte_source.h"

namespace kvb::test {
namespace {

std::string Trimmed(const std::string& path) {
  std::string p = path;
  while (!p.empty() && p.back() == '\\')
    p.pop_back();
  return p;
}

std::string ValueId(RegRoot root, const std::string& key, const std::string& name) {
  return FakeInstallMachine::KeyId(root, key) + "|" + UpperText(name);
}

class MemoryOutput final : public ArchiveOutput {
 public:
  explicit MemoryOutput(FakeFile& file) : file_(file) {}
  void Write(const void* data, size_t size) override {
    file_.Content.append(static_cast<const char*>(data), size);
  }
  void SetDosDate(uint32_t date) override { file_.Date = date; }

 private:
  FakeFile& file_;
};

class MemoryFiles final : public ArchiveFiles {
 public:
  explicit MemoryFiles(FakeInstallMachine& m) : m_(m) {}
  bool Exists(const std::string& path) override {
    return m_.FileExists(path) || m_.FolderExists(path);
  }
  bool Delete(const std::string& path) override {
    auto it = m_.files.find(path);
    if (it == m_.files.end() || it->second.ReadOnly || it->second.InUse)
      return false;
    m_.files.erase(it);
    return true;
  }
  bool ForceDirectories(const std::string& folder) override {
    std::vector<std::string> created;
    return m_.CreateFolders(folder, created);
  }
  std::unique_ptr<ByteSource> OpenVolume(const std::string& path) override {
    return m_.OpenFile(path);
  }
  std::unique_ptr<ArchiveOutput> Create(const std::string& path) override {
    if (m_.unwritable_files.count(path))
      return nullptr;
    FakeFile& file = m_.files[path];
    file = FakeFile{};
    return std::make_unique<MemoryOutput>(file);
  }
  std::unique_ptr<ArchiveOutput> Append(const std::string& path) override {
    auto it = m_.files.find(path);
    return it == m_.files.end() ? nullptr : std::make_unique<MemoryOutput>(it->second);
  }

 private:
  FakeInstallMachine& m_;
};

}  // namespace

bool PathLess::operator()(const std::string& a, const std::string& b) const {
  return CompareText(a, b) < 0;
}

std::string FakeInstallMachine::KeyId(RegRoot root, const std::string& key) {
  return std::to_string(static_cast<int>(root)) + "|" + UpperText(key);
}

FakeInstallMachine::State FakeInstallMachine::Snapshot(const std::string& ignore) const {
  State s{files, folders, values, keys, pending, servers, type_libraries, fonts};
  if (!ignore.empty()) {
    std::erase_if(s.files, [&](const auto& f) { return StartsWithText(f.first, ignore); });
    std::erase_if(s.folders, [&](const auto& f) { return StartsWithText(f, ignore); });
  }
  return s;
}

void FakeInstallMachine::AddFile(const std::string& path,
                                 const std::string& content,
                                 uint32_t date) {
  std::vector<std::string> created;
  CreateFolders(ExtractFilePath(path), created);
  files[path] = FakeFile{content, date};
}

std::optional<std::string> FakeInstallMachine::Value(RegRoot root,
                                                     const std::string& key,
                                                     const std::string& name) const {
  auto it = values.find(ValueId(root, key, name));
  if (it == values.end())
    return std::nullopt;
  return it->second.Bytes;
}

bool FakeInstallMachine::FileExists(const std::string& path) {
  return files.count(path) != 0;
}

bool FakeInstallMachine::FolderExists(const std::string& path) {
  const std::string p = Trimmed(path);
  return (p.size() == 2 && p[1] == ':') || folders.count(p) != 0;
}

bool FakeInstallMachine::CreateFolders(const std::string& path, std::vector<std::string>& created) {
  const std::string p = Trimmed(path);
  std::string prefix;
  for (const std::string& part : SplitText(p, "\\")) {
    prefix += prefix.empty() ? part : "\\" + part;
    if (FolderExists(prefix))
      continue;
    if (unwritable_folders.count(prefix) || files.count(prefix))
      return false;
    folders.insert(prefix);
    created.push_back(prefix);
  }
  return true;
}

bool FakeInstallMachine::RemoveFolder(const std::string& path) {
  const std::string p = Trimmed(path) + "\\";
  for (const auto& f : files)
    if (StartsWithText(f.first, p))
      return false;
  for (const auto& f : folders)
    if (StartsWithText(f, p))
      return false;
  return folders.erase(Trimmed(path)) != 0;
}

std::optional<uint32_t> FakeInstallMachine::FileDate(const std::string& path) {
  auto it = files.find(path);
  return it == files.end() ? std::nullopt : std::optional<uint32_t>(it->second.Date);
}

std::optional<FileVersionWords> FakeInstallMachine::FileVersion(const std::string& path) {
  auto it = files.find(path);
  return it == files.end() ? std::nullopt : it->second.Version;
}

MoveAsideResult FakeInstallMachine::MoveAside(const std::string& path, const std::string& backup) {
  auto it = files.find(path);
  if (it->second.ReadOnly)
    return MoveAsideResult::kReadOnly;
  if (it->second.InUse)
    return MoveAsideResult::kInUse;
  files[backup] = it->second;
  files.erase(path);
  return MoveAsideResult::kMoved;
}

bool FakeInstallMachine::RestoreFile(const std::string& backup, const std::string& path) {
  auto it = files.find(backup);
  if (it == files.end())
    return false;
  files[path] = it->second;
  files.erase(backup);
  return true;
}

bool FakeInstallMachine::RemoveFile(const std::string& path) {
  auto it = files.find(path);
  if (it != files.end() && it->second.InUse)
    return false;
  files.erase(path);
  return true;
}

bool FakeInstallMachine::WriteFile(const std::string& path, const std::string& bytes) {
  if (unwritable_files.count(path) || !ParentExists(path))
    return false;
  files[path] = FakeFile{bytes};
  return true;
}

bool FakeInstallMachine::ParentExists(const std::string& path) const {
  const std::string parent = Trimmed(ExtractFilePath(path));
  return (parent.size() == 2 && parent[1] == ':') || folders.count(parent) != 0;
}

bool FakeInstallMachine::ScheduleReplace(const std::string& source, const std::string& target) {
  pending.emplace_back(source, target);
  return true;
}

void FakeInstallMachine::CancelScheduledReplace(const std::string& source) {
  std::erase_if(pending, [&](const auto& p) { return SameText(p.first, source); });
}

std::unique_ptr<ArchiveFiles> FakeInstallMachine::CreateArchiveFiles() {
  return std::make_unique<MemoryFiles>(*this);
}

std::unique_ptr<ByteSource> FakeInstallMachine::OpenFile(const std::string& path) {
  auto it = files.find(path);
  if (it == files.end())
    return nullptr;
  return std::make_unique<MemorySource>(it->second.Content);
}

bool FakeInstallMachine::KeyExists(RegRoot root, const std::string& key) {
  return keys.count(KeyId(root, key)) != 0;
}

bool FakeInstallMachine::CreateKey(RegRoot root,
                                   const std::string& key,
                                   std::vector<std::string>& created) {
  if (unwritable_keys.count(KeyId(root, key)))
    return false;
  std::string prefix;
  for (const std::string& part : SplitText(key, "\\")) {
    prefix += prefix.empty() ? part : "\\" + part;
    if (keys.insert(KeyId(root, prefix)).second)
      created.push_back(prefix);
  }
  return true;
}

std::optional<RegistryData> FakeInstallMachine::ReadValue(RegRoot root,
                                                          const std::string& key,
                                                          const std::string& name) {
  auto it = values.find(ValueId(root, key, name));
  return it == values.end() ? std::nullopt : std::optional<RegistryData>(it->second);
}

bool FakeInstallMachine::WriteValue(RegRoot root,
                                    const std::string& key,
                                    const std::string& name,
                                    const RegistryData& data) {
  if (!KeyExists(root, key))
    return false;
  values[ValueId(root, key, name)] = data;
  return true;
}

bool FakeInstallMachine::DeleteValue(RegRoot root,
                                     const std::string& key,
                                     const std::string& name) {
  return values.erase(ValueId(root, key, name)) != 0;
}

bool FakeInstallMachine::DeleteKeyIfEmpty(RegRoot root, const std::string& key) {
  const std::string id = KeyId(root, key);
  for (const auto& v : values)
    if (v.first.rfind(id + "|", 0) == 0)
      return false;
  for (const auto& k : keys)
    if (k.rfind(id + "\\", 0) == 0)
      return false;
  return keys.erase(id) != 0;
}

bool FakeInstallMachine::CreateShortcut(const ShortcutSpec& shortcut) {
  if (shortcuts_fail || !ParentExists(shortcut.LinkPath))
    return false;
  shortcuts[shortcut.LinkPath] = shortcut;
  files[shortcut.LinkPath] = FakeFile{"link to " + shortcut.Target};
  return true;
}

bool FakeInstallMachine::RegisterServer(const std::string& file) {
  calls.push_back("register-server " + file);
  if (failing_servers.count(file))
    return false;
  servers.insert(file);
  return true;
}

void FakeInstallMachine::UnregisterServer(const std::string& file) {
  calls.push_back("unregister-server " + file);
  servers.erase(file);
}

bool FakeInstallMachine::RegisterTypeLibrary(const std::string& file) {
  calls.push_back("register-typelib " + file);
  type_libraries.insert(file);
  return true;
}

void FakeInstallMachine::UnregisterTypeLibrary(const std::string& file) {
  calls.push_back("unregister-typelib " + file);
  type_libraries.erase(file);
}

bool FakeInstallMachine::AddSharedDllReference(const std::string& file) {
  calls.push_back("shared " + file);
  std::vector<std::string> created;
  CreateKey(RegRoot::kLocalMachine, kSharedDllsKey, created);
  uint32_t count = 0;
  if (auto old = ReadValue(RegRoot::kLocalMachine, kSharedDllsKey, file))
    count = static_cast<uint8_t>(old->Bytes[0]);
  return WriteValue(RegRoot::kLocalMachine, kSharedDllsKey, file,
                    EncodeRegistryData(kRegChangeInteger, std::to_string(count + 1)));
}

std::string FakeInstallMachine::InstallFont(const std::string& file, const std::string& name) {
  calls.push_back("font " + name);
  fonts[name] = file;
  return file;
}

void FakeInstallMachine::RemoveFont(const std::string& file, const std::string& name) {
  calls.push_back("remove-font " + name);
  fonts.erase(name);
}

}  // namespace kvb::test
