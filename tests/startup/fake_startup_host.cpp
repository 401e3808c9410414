#include "startup/fake_startup_host.h"

#include "startup/setup_globals.h"

#include "base/text.h"

namespace kvb::test {

namespace {

const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kStop:
      return "stop";
    case MessageIcon::kExclamation:
      return "exclamation";
    case MessageIcon::kInformation:
      return "information";
  }
  return "?";
}

std::string WithoutTrailingBackslash(const std::string& path) {
  return ExcludeTrailingBackslash(path);
}

// A start-up window that notes its closing in the log.
class FakeForm final : public StartupForm {
 public:
  FakeForm(FakeStartupHost& host, std::string name, bool& open)
      : host_(host), name_(std::move(name)), open_(open) {
    open_ = true;
  }
  ~FakeForm() override {
    open_ = false;
    host_.log.push_back(name_ + " closed");
  }

 private:
  FakeStartupHost& host_;
  std::string name_;
  bool& open_;
};

class MemoryOutput final : public ArchiveOutput {
 public:
  explicit MemoryOutput(std::string& content) : content_(content) {}
  void Write(const void* data, size_t size) override {
    content_.append(static_cast<const char*>(data), size);
  }
  void SetDosDate(uint32_t) override {}

 private:
  std::string& content_;
};

// The archive reader's view of the host's files.
class MemoryFiles final : public ArchiveFiles {
 public:
  explicit MemoryFiles(FakeStartupHost& host) : host_(host) {}
  bool Exists(const std::string& path) override {
    return host_.files.count(path) || host_.folders.count(WithoutTrailingBackslash(path));
  }
  bool Delete(const std::string& path) override {
    return !host_.undeletable_files.count(path) && host_.files.erase(path) > 0;
  }
  bool ForceDirectories(const std::string& folder) override {
    for (std::string f = WithoutTrailingBackslash(folder); f.size() > 2;
         f = WithoutTrailingBackslash(ExtractFilePath(f))) {
      if (host_.unwritable_folders.count(f))
        return false;
      host_.folders.insert(f);
    }
    return true;
  }
  std::unique_ptr<ByteSource> OpenVolume(const std::string&) override { return nullptr; }
  std::unique_ptr<ArchiveOutput> Create(const std::string& path) override {
    if (host_.uncreatable_files.count(path))
      return nullptr;
    host_.log.push_back("write " + path);
    std::string& content = host_.files[path];
    content.clear();
    return std::make_unique<MemoryOutput>(content);
  }
  std::unique_ptr<ArchiveOutput> Append(const std::string& path) override {
    auto found = host_.files.find(path);
    return found == host_.files.end() ? nullptr : std::make_unique<MemoryOutput>(found->second);
  }

 private:
  FakeStartupHost& host_;
};

class LoggingPrompt final : public ScriptPrompt {
 public:
  explicit LoggingPrompt(std::vector<std::string>& log) : log_(log) {}
  int ShowMessage(const std::string& caption, const std::string& text, uint32_t) override {
    log_.push_back("script-message " + caption + "|" + text);
    return 1;
  }

 private:
  std::vector<std::string>& log_;
};

}  // namespace

bool PathLess::operator()(const std::string& a, const std::string& b) const {
  return CompareText(a, b) < 0;
}

FakeStartupHost::FakeStartupHost(std::optional<std::string> file) : own_file(std::move(file)) {
  folders.insert(WithoutTrailingBackslash(temp_folder));
}

std::vector<std::string> FakeStartupHost::LogLines(const std::string& prefix) const {
  std::vector<std::string> lines;
  for (const std::string& line : log) {
    if (line.compare(0, prefix.size(), prefix) == 0)
      lines.push_back(line);
  }
  return lines;
}

void FakeStartupHost::SetTitle(const std::string& text) {
  title = text;
  log.push_back("title " + text);
}

void FakeStartupHost::ShowMessage(const std::string& text, MessageIcon icon) {
  log.push_back(std::string("message ") + IconName(icon) + " " + title + "|" + text);
}

std::unique_ptr<ByteSource> FakeStartupHost::OpenOwnFile() {
  if (!own_file)
    return nullptr;
  return std::make_unique<MemorySource>(*own_file);
}

FolderCreation FakeStartupHost::CreateFolder(const std::string& path) {
  ++create_folder_calls;
  if (folders.count(path) || files.count(path))
    return FolderCreation::kExisted;
  if (unwritable_folders.count(path))
    return FolderCreation::kFailed;
  folders.insert(path);
  log.push_back("folder " + path);
  return FolderCreation::kCreated;
}

bool FakeStartupHost::DeleteFile(const std::string& path) {
  log.push_back("delete " + path);
  return files.erase(path) > 0;
}

void FakeStartupHost::RemoveFolderTree(const std::string& path) {
  log.push_back("remove-tree " + path);
  const std::string inside = IncludeTrailingBackslash(path);
  std::erase_if(files, [&](const auto& file) { return StartsWithText(file.first, inside); });
  std::erase_if(folders, [&](const std::string& folder) {
    return SameText(folder, path) || StartsWithText(folder, inside);
  });
}

std::unique_ptr<ArchiveFiles> FakeStartupHost::CreateArchiveFiles() {
  return std::make_unique<MemoryFiles>(*this);
}

ScriptServices FakeStartupHost::CreateScriptServices(const std::vector<TSetupPlatform>&) {
  ScriptServices services;
  services.Prompt = std::make_unique<LoggingPrompt>(log);
  return services;
}

std::unique_ptr<StartupForm> FakeStartupHost::ShowLoader(const LoaderLook& look) {
  loader = look;
  log.push_back("loader " + std::to_string(look.Left) + "," + std::to_string(look.Top));
  return std::make_unique<FakeForm>(*this, "loader", loader_open);
}

std::unique_ptr<StartupForm> FakeStartupHost::ShowSplash(const std::string& bitmap_file,
                                                         const std::string& caption) {
  if (files[bitmap_file].compare(0, 2, "BM") != 0)
    return nullptr;  // not a bitmap
  log.push_back("splash " + bitmap_file + "|" + caption);
  return std::make_unique<FakeForm>(*this, "splash", splash_open);
}

void FakeStartupHost::Wait(unsigned milliseconds) {
  log.push_back("wait " + std::to_string(milliseconds));
}

MainFormEnd FakeStartupHost::RunMainForm(TSetupGlobals& globals) {
  log.push_back("main form " + globals.TempSetupDir);
  main_form_options = globals.Data.StartupOptions;
  main_form_back_items = globals.Data.BackItems;
  return main_form_end;
}

std::optional<std::string> FakeStartupHost::RegistryFake::ReadString(RegRoot root,
                                                                     std::string_view key,
                                                                     std::string_view value_name) {
  const std::string name = std::to_string(static_cast<int>(root)) + "|" + std::string(key) + "|" +
                           std::string(value_name);
  auto found = host_.registry.find(name);
  if (found == host_.registry.end())
    return std::nullopt;
  return found->second;
}

}  // namespace kvb::test
