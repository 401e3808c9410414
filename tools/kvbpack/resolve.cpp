#include "resolve.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/text.h"
#include "dos_time.h"
#include "file_facts.h"

namespace kvb::pack {
namespace {

// A file of the project with what the file system says about it.
struct Resolved {
  explicit Resolved(const ProjectFile* f) : file(f) {}
  const ProjectFile* file;
  std::string path;
  FileFacts facts;
  int block = -1;  // -1 main, else the component's index
  int32_t entry = -1;
};

class Resolver {
 public:
  Resolver(const Project& project, const ResolveOptions& options)
      : project_(project), options_(options) {}

  PackagePlan Run() {
    plan_.data = project_.data;
    plan_.volume_size = options_.volume_size ? options_.volume_size : project_.volume_size;
    BuildFileList();
    Inspect(temps_);
    Inspect(files_);
    AssignBlocks();
    NumberEntries();
    diag_.ThrowIfAny();
    FillRecords();
    FillBlocks();
    FillProgress();
    FillFolders();
    diag_.ThrowIfAny();
    return std::move(plan_);
  }

 private:
  void BuildFileList() {
    for (const ProjectFile& f : project_.temp_files)
      temps_.emplace_back(&f);
    for (const ProjectFile& f : project_.files)
      files_.emplace_back(&f);
    if (!project_.uninstaller)
      return;
    uninstaller_.pos = uninstaller_.source_pos = project_.uninstaller_pos;
    uninstaller_.record = UninstallerRecord();
    if (!options_.uninstaller.empty()) {
      uninstaller_.source = options_.uninstaller;
    } else if (!project_.uninstaller_program.empty()) {
      uninstaller_.source = JoinPath(project_.base_dir, project_.uninstaller_program);
    } else {
      uninstaller_.source = options_.default_uninstaller;
    }
    if (uninstaller_.source.empty()) {
      diag_.Error(project_.uninstaller_pos,
                  "no uninstaller program: name it with --uninstaller or program = \"...\", or "
                  "place kvbuninst.exe next to the setup program or kvbpack");
      return;
    }
    files_.emplace_back(&uninstaller_);
  }

  void Inspect(std::vector<Resolved>& list) {
    for (Resolved& r : list) {
      r.path =
          r.file == &uninstaller_ ? r.file->source : JoinPath(project_.base_dir, r.file->source);
      if (r.file->source.empty())
        continue;  // reported by the reader
      const std::optional<FileFacts> facts = InspectFile(r.path);
      if (!facts) {
        diag_.Error(r.file->source_pos, "cannot read the source file \"" + r.path + "\"");
      } else if (facts->size > UINT32_MAX) {
        diag_.Error(r.file->source_pos,
                    "\"" + r.path + "\" is 4 GiB or larger; the format cannot store it");
      } else {
        r.facts = *facts;
      }
    }
  }

  int FindComponent(std::string_view name) const {
    for (size_t i = 0; i < plan_.data.Components.size(); ++i) {
      if (SameText(plan_.data.Components[i].Component.Name, name))
        return static_cast<int>(i);
    }
    return -1;
  }

  // A file's data goes into the block of the first of its components that exists, or
  // into the main block; with volume files everything goes into the main block, since
  // the setup program reads no component blocks then.
  void AssignBlocks() {
    for (Resolved& r : files_) {
      if (r.file->block) {
        r.block = r.file->block->empty() ? -1 : FindComponent(*r.file->block);
        if (!r.file->block->empty() && r.block < 0) {
          diag_.Error(r.file->pos, "block \"" + *r.file->block + "\" names no component");
        } else if (r.block >= 0 && plan_.volume_size) {
          diag_.Error(r.file->pos,
                      "with volume files every file is in the main archive; "
                      "remove block = \"" +
                          *r.file->block + "\"");
        }
        continue;
      }
      r.block = DeriveBlock(r.file->record, plan_.data.Components, plan_.volume_size.has_value());
    }
  }

  // Explicit numbers are kept; the others count up from 0 in archive order (main block,
  // component blocks, then temporary files), skipping numbers given explicitly.
  void NumberEntries() {
    std::set<int32_t> used;
    for (const auto* list : {&files_, &temps_}) {
      for (const Resolved& r : *list) {
        if (r.file->entry)
          used.insert(static_cast<int32_t>(*r.file->entry));
      }
    }
    int32_t next = 0;
    auto number = [&](Resolved& r) {
      if (r.file->entry) {
        r.entry = static_cast<int32_t>(*r.file->entry);
        return;
      }
      while (used.count(next))
        ++next;
      r.entry = next;
      used.insert(next);
    };
    for (int block = -1; block < static_cast<int>(plan_.data.Components.size()); ++block) {
      for (Resolved& r : files_) {
        if (r.block == block)
          number(r);
      }
    }
    for (Resolved& r : temps_)
      number(r);
    CheckShared(files_);
    CheckShared(temps_);
  }

  // Files that share an entry number share its data, so their sources must be the same.
  void CheckShared(const std::vector<Resolved>& list) {
    std::map<int32_t, const Resolved*> first;
    for (const Resolved& r : list) {
      if (r.file->entry && *r.file->entry > INT32_MAX) {
        diag_.Error(r.file->pos, "entry numbers run from 0 to 2147483647");
        continue;
      }
      auto [it, inserted] = first.emplace(r.entry, &r);
      if (!inserted && it->second->path != r.path) {
        diag_.Error(r.file->pos,
                    "entry " + std::to_string(r.entry) + " is also given to the file at line " +
                        std::to_string(it->second->file->pos.line) + ", whose source differs");
      }
    }
  }

  uint32_t DateOf(const Resolved& r) const {
    if (r.file->date)
      return *r.file->date;
    if (project_.default_date)
      return *project_.default_date;
    return DosTimeFromUnix(r.facts.modified);
  }

  void FillRecords() {
    for (const Resolved& r : temps_) {
      TSetupInstallerFile f;
      f.EntryIndex = static_cast<uint32_t>(r.entry);
      f.File = r.file->record;
      plan_.data.TempFiles.push_back(std::move(f));
    }
    for (const Resolved& r : files_) {
      TSetupInstallerFile f;
      f.EntryIndex = static_cast<uint32_t>(r.entry);
      const FileVersion v =
          r.file->version ? *r.file->version : r.facts.version.value_or(FileVersion{});
      f.VersionHigh = v.high;
      f.VersionLow = v.low;
      f.FileDate = DateOf(r);
      f.File = r.file->record;
      f.File.Size = r.file->size ? *r.file->size : static_cast<uint32_t>(r.facts.size);
      plan_.data.DeviceFiles.push_back(std::move(f));
    }
  }

  static void AddEntry(PlannedBlock& block,
                       std::set<int32_t>& done,
                       const Resolved& r,
                       uint32_t date) {
    if (!done.insert(r.entry).second)
      return;
    block.entries.push_back({r.entry, date, r.path, r.facts.size});
  }

  void FillBlocks() {
    std::set<int32_t> done;
    plan_.temp_block.message = project_.temp_message.value_or("");
    for (const Resolved& r : temps_)
      AddEntry(plan_.temp_block, done, r, DateOf(r));
    plan_.temp_archive = project_.temp_archive.value_or(!temps_.empty());
    if (!plan_.temp_archive && !temps_.empty()) {
      diag_.Error(temps_[0].file->pos, "temp-archive = false, but the project has temporary files");
    }
    done.clear();
    blocks_.assign(plan_.data.Components.size(), PlannedBlock{});
    plan_.main_block.message = project_.main_message.value_or("");
    for (const Resolved& r : files_) {
      const uint32_t date = r.file->archive_date.value_or(DateOf(r));
      AddEntry(r.block < 0 ? plan_.main_block : blocks_[r.block], done, r, date);
    }
    plan_.main_archive = project_.main_archive.value_or(true);
    if (!plan_.main_archive && !plan_.main_block.entries.empty()) {
      diag_.Error(project_.files.empty() ? project_.uninstaller_pos : project_.files[0].pos,
                  "main-archive = false, but files are placed in the main archive");
    }
  }

  void FillProgress() {
    const size_t n = plan_.data.Components.size();
    std::vector<std::optional<uint64_t>> weights;
    weights.push_back(plan_.main_block.entries.empty()
                          ? std::nullopt
                          : std::optional(plan_.main_block.TotalSize()));
    for (const PlannedBlock& b : blocks_) {
      weights.push_back(b.entries.empty() ? std::nullopt : std::optional(b.TotalSize()));
    }
    std::vector<uint32_t> spans = DeriveSpans(weights);
    if (plan_.volume_size) {
      spans.assign(n + 1, 0);
      spans[0] = 100;
    }
    plan_.data.MainArchiveSpan = project_.main_span.value_or(spans[0]);
    // The setup program scales every block's span by this one factor, the component
    // blocks' too; spans on a scale of 100 need the factor 1. (100 / main span equals
    // that when the main block is everything, and would overshoot the component ranges.)
    plan_.data.MainArchiveScale = project_.main_scale.value_or(1.0);
    uint32_t base = plan_.data.MainArchiveSpan;
    for (size_t i = 0; i < n; ++i) {
      const ComponentArchive& a = project_.component_archives[i];
      TInstallerComponent& c = plan_.data.Components[i];
      c.ArchiveSpan = a.span.value_or(spans[i + 1]);
      c.ProgressBase = a.progress_base.value_or(base);
      c.ArchiveOffset = c.ArchiveSpan > 0 ? 0 : a.offset.value_or(0);
      base += c.ArchiveSpan;
      if (c.ArchiveSpan == 0 && !blocks_[i].entries.empty()) {
        diag_.Error(a.pos,
                    "component \"" + c.Component.Name + "\" has files, so its span cannot be 0");
      }
      if (c.ArchiveSpan > 0) {
        blocks_[i].component = static_cast<int>(i);
        blocks_[i].message = a.message.value_or(c.Component.Name);
        plan_.component_blocks.push_back(std::move(blocks_[i]));
      }
    }
  }

  void FillFolders() {
    std::vector<std::string> dirs;
    for (const TSetupInstallerFile& f : plan_.data.DeviceFiles)
      dirs.push_back(f.File.DestDir);
    plan_.data.FileFolders = project_.file_folders.value_or(DeriveFileFolders(dirs));
    dirs.clear();
    for (const TSetupShortcut& s : plan_.data.Shortcuts)
      dirs.push_back(s.Folder);
    plan_.data.ShortcutFolders = project_.shortcut_folders.value_or(DeriveFolders(dirs));
  }

  const Project& project_;
  const ResolveOptions& options_;
  Diagnostics diag_;
  PackagePlan plan_;
  ProjectFile uninstaller_;
  std::vector<Resolved> temps_;
  std::vector<Resolved> files_;
  std::vector<PlannedBlock> blocks_;  // per component, before the spans are known
};

}  // namespace

uint64_t PlannedBlock::TotalSize() const {
  uint64_t total = 0;
  for (const PlannedEntry& e : entries)
    total += e.size;
  return total;
}

PackagePlan ResolveProject(const Project& project, const ResolveOptions& options) {
  return Resolver(project, options).Run();
}

int DeriveBlock(const TSetupFile& file,
                const std::vector<TInstallerComponent>& components,
                bool volumes) {
  if (volumes)
    return -1;
  for (const std::string& name : SplitText(file.Components, "|")) {
    for (size_t i = 0; i < components.size(); ++i) {
      if (SameText(components[i].Component.Name, name))
        return static_cast<int>(i);
    }
  }
  return -1;
}

TSetupFile UninstallerRecord() {
  TSetupFile f;
  f.SourceName = "KVBUNINST.DAT";
  f.DestDir = "%WinDir%\\";
  f.OverwriteMode = 4;  // replace an older copy left by another package, keep a newer one
  f.ExtraFlag1 = 1;
  f.Group = "uninstaller";
  return f;
}

namespace {

// Adds each folder once, compared as file names are.
class FolderList {
 public:
  void Add(const std::string& folder) {
    for (const std::string& f : out_) {
      if (SameText(f, folder))
        return;
    }
    out_.push_back(folder);
  }
  // The folder without its trailing backslash, preceded by its parents below a root.
  void AddWithParents(const std::string& dir) {
    const std::string folder = ExcludeTrailingBackslash(dir);
    const size_t first = folder.find('\\');
    if (first == std::string::npos || first == 0)
      return;
    for (size_t i = folder.find('\\', first + 1); i != std::string::npos;
         i = folder.find('\\', i + 1)) {
      Add(folder.substr(0, i));
    }
    Add(folder);
  }
  std::vector<std::string> Take() { return std::move(out_); }

 private:
  std::vector<std::string> out_;
};

// The root of a destination folder when it is one variable reference: "%MyDir%" of
// "%MyDir%\\bin\\"; "" otherwise.
std::string VariableRoot(const std::string& dir) {
  const std::string root = dir.substr(0, dir.find('\\'));
  if (root.size() < 3 || root.front() != '%' || root.back() != '%' ||
      root.find('%', 1) != root.size() - 1) {
    return {};
  }
  return root;
}

}  // namespace

std::vector<std::string> DeriveFolders(const std::vector<std::string>& dest_dirs) {
  FolderList list;
  for (const std::string& dir : dest_dirs)
    list.AddWithParents(dir);
  return list.Take();
}

std::vector<std::string> DeriveFileFolders(const std::vector<std::string>& dest_dirs) {
  FolderList list;
  for (const std::string& dir : dest_dirs) {
    const std::string root = VariableRoot(dir);
    if (!root.empty())
      list.Add(root + "\\");
    list.AddWithParents(dir);
  }
  return list.Take();
}

std::vector<uint32_t> DeriveSpans(const std::vector<std::optional<uint64_t>>& weights) {
  std::vector<uint32_t> spans(weights.size(), 0);
  uint64_t total = 0;
  uint64_t blocks = 0;
  for (const auto& w : weights) {
    if (!w)
      continue;
    total += std::max<uint64_t>(*w, 1);
    ++blocks;
  }
  if (blocks == 0)
    return spans;
  // Largest remainders on top of a minimum of 1 for every block with entries, so that
  // the spans add up to exactly 100. Integer arithmetic keeps every platform's result equal.
  const uint64_t spare = blocks >= 100 ? 0 : 100 - blocks;
  std::vector<std::pair<uint64_t, size_t>> remainders;
  uint64_t given = 0;
  for (size_t i = 0; i < weights.size(); ++i) {
    if (!weights[i])
      continue;
    const uint64_t scaled = spare * std::max<uint64_t>(*weights[i], 1);  // < 2^39 * 100
    spans[i] = 1 + static_cast<uint32_t>(scaled / total);
    given += scaled / total;
    remainders.emplace_back(scaled % total, i);
  }
  std::stable_sort(remainders.begin(), remainders.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  for (size_t k = 0; given < spare && k < remainders.size(); ++k, ++given)
    ++spans[remainders[k].second];
  return spans;
}

}  // namespace kvb::pack
