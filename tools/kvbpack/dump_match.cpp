#include "dump_match.h"

#include <cstring>
#include <map>
#include <set>

#include "resolve.h"
#include "setupdata/section_writer.h"

namespace kvb::pack {
namespace {

class Matcher {
 public:
  Matcher(Project& project, const TSetupData& package, const DumpedArchives& archives)
      : p_(project), pkg_(package), archives_(archives) {}

  std::vector<std::string> Run() {
    p_.volume_size = archives_.volume_size;
    CommonDate();
    DetectUninstaller();
    MatchArchivePresence();
    MatchEntries();
    MatchBlocks();
    PackagePlan plan = ResolveProject(p_);
    MatchDerived(plan);
    plan = ResolveProject(p_);
    Verify(plan);
    return std::move(differences_);
  }

 private:
  // One date for every file goes into [package] file-date instead of each file.
  void CommonDate() {
    std::set<uint32_t> dates;
    for (const auto* list : {&p_.temp_files, &p_.files}) {
      for (const ProjectFile& f : *list) {
        if (f.date)
          dates.insert(*f.date);
      }
    }
    if (dates.size() != 1)
      return;
    p_.default_date = *dates.begin();
    for (auto* list : {&p_.temp_files, &p_.files}) {
      for (ProjectFile& f : *list)
        f.date.reset();
    }
  }

  // The last file is the builder's uninstaller when it is exactly what the builder adds.
  void DetectUninstaller() {
    if (p_.files.empty())
      return;
    const ProjectFile& f = p_.files.back();
    if (f.record != UninstallerRecord() || f.version || f.size || f.archive_date || f.date)
      return;
    const int block = Block(pkg_.DeviceFiles.back().EntryIndex);
    if (block != -1)
      return;
    uninstaller_ = f;
    p_.uninstaller = true;
    p_.uninstaller_program = f.source;
    p_.files.pop_back();
  }

  void UndoUninstaller() {
    if (!p_.uninstaller)
      return;
    p_.uninstaller = false;
    p_.uninstaller_program.clear();
    p_.files.push_back(uninstaller_);
  }

  // A package without a block that its records need gets one (the records' data was
  // written empty); the builder refuses records without data.
  void MatchArchivePresence() {
    if (!archives_.main && !archives_.volume_size) {
      if (p_.files.empty() && !p_.uninstaller) {
        p_.main_archive = false;
      } else {
        differences_.push_back("the main archive block, which the package lacks");
      }
    }
    if (archives_.temp && p_.temp_files.empty())
      p_.temp_archive = true;
    if (!archives_.temp && !p_.temp_files.empty()) {
      differences_.push_back("the temporary-file archive block, which the package lacks");
    }
  }

  // Entry numbers are written out when the builder would number the files otherwise.
  void MatchEntries() {
    const PackagePlan plan = ResolveProject(p_);
    bool same = plan.data.TempFiles.size() == pkg_.TempFiles.size() &&
                plan.data.DeviceFiles.size() == pkg_.DeviceFiles.size();
    for (size_t i = 0; same && i < pkg_.TempFiles.size(); ++i) {
      same = plan.data.TempFiles[i].EntryIndex == pkg_.TempFiles[i].EntryIndex;
    }
    for (size_t i = 0; same && i < pkg_.DeviceFiles.size(); ++i) {
      same = plan.data.DeviceFiles[i].EntryIndex == pkg_.DeviceFiles[i].EntryIndex;
    }
    if (same)
      return;
    UndoUninstaller();
    for (size_t i = 0; i < p_.temp_files.size(); ++i)
      p_.temp_files[i].entry = pkg_.TempFiles[i].EntryIndex;
    for (size_t i = 0; i < p_.files.size(); ++i)
      p_.files[i].entry = pkg_.DeviceFiles[i].EntryIndex;
  }

  // The block (-1 main, else the component) whose entries hold `entry`; -2 for none.
  int Block(uint32_t entry) const {
    auto holds = [entry](const std::optional<BlockContents>& b) {
      if (!b)
        return false;
      for (const BlockEntry& e : b->entries) {
        if (static_cast<uint32_t>(e.index) == entry)
          return true;
      }
      return false;
    };
    if (holds(archives_.main))
      return -1;
    for (size_t i = 0; i < archives_.components.size(); ++i) {
      if (holds(archives_.components[i]))
        return static_cast<int>(i);
    }
    return -2;
  }

  void MatchBlocks() {
    for (size_t i = 0; i < p_.files.size(); ++i) {
      const int actual = Block(pkg_.DeviceFiles[i].EntryIndex);
      if (actual < -1)
        continue;
      const int derived =
          DeriveBlock(p_.files[i].record, p_.data.Components, p_.volume_size.has_value());
      if (actual != derived) {
        p_.files[i].block = actual < 0 ? std::string() : p_.data.Components[actual].Component.Name;
      }
    }
  }

  static std::optional<std::string> SoleMessage(const std::optional<BlockContents>& block,
                                                const std::string& derived) {
    if (!block || block->messages.size() != 1 || block->messages[0] == derived)
      return std::nullopt;
    return block->messages[0];
  }

  void MatchDerived(const PackagePlan& plan) {
    if (plan.data.FileFolders != pkg_.FileFolders)
      p_.file_folders = pkg_.FileFolders;
    if (plan.data.ShortcutFolders != pkg_.ShortcutFolders)
      p_.shortcut_folders = pkg_.ShortcutFolders;
    if (plan.data.MainArchiveSpan != pkg_.MainArchiveSpan)
      p_.main_span = pkg_.MainArchiveSpan;
    if (std::memcmp(&plan.data.MainArchiveScale, &pkg_.MainArchiveScale, sizeof(double)) != 0) {
      p_.main_scale = pkg_.MainArchiveScale;
    }
    for (size_t i = 0; i < pkg_.Components.size(); ++i) {
      const TInstallerComponent& want = pkg_.Components[i];
      const TInstallerComponent& got = plan.data.Components[i];
      ComponentArchive& a = p_.component_archives[i];
      if (got.ArchiveSpan != want.ArchiveSpan)
        a.span = want.ArchiveSpan;
      if (got.ProgressBase != want.ProgressBase)
        a.progress_base = want.ProgressBase;
      if (want.ArchiveSpan == 0 && want.ArchiveOffset != 0)
        a.offset = want.ArchiveOffset;
      if (want.ArchiveSpan > 0)
        a.message = SoleMessage(archives_.components[i], want.Component.Name);
    }
    p_.temp_message = SoleMessage(archives_.temp, "");
    p_.main_message = SoleMessage(archives_.main, "");
  }

  void CompareBlock(const std::string& name,
                    const std::optional<BlockContents>& actual,
                    const PlannedBlock* planned) {
    if (!actual)
      return;
    std::vector<std::pair<int32_t, uint32_t>> want, got;
    for (const BlockEntry& e : actual->entries)
      want.emplace_back(e.index, e.date);
    if (planned) {
      for (const PlannedEntry& e : planned->entries)
        got.emplace_back(e.index, e.date);
    }
    if (want != got)
      differences_.push_back("the entries of the " + name +
                             " archive block (order, "
                             "dates, or entries that no record names)");
    if (actual->messages.size() != 1) {
      differences_.push_back("the " + name + " archive block has " +
                             std::to_string(actual->messages.size()) +
                             " message records; the builder writes one");
    }
  }

  void Verify(PackagePlan& plan) {
    for (size_t i = 0; i < plan.data.Components.size() && i < pkg_.Components.size(); ++i) {
      if (pkg_.Components[i].ArchiveSpan > 0) {
        plan.data.Components[i].ArchiveOffset =
            pkg_.Components[i].ArchiveOffset;  // set by the layout
      }
    }
    for (int s = 0; s < kSectionCount; ++s) {
      if (s == 15 || s == 16)
        continue;
      if (WriteSection(s, plan.data) != WriteSection(s, pkg_)) {
        differences_.push_back("section " + std::to_string(s) + " of the Setup data");
      }
    }
    CompareBlock("temporary-file", archives_.temp, plan.temp_archive ? &plan.temp_block : nullptr);
    CompareBlock("main", archives_.main, &plan.main_block);
    for (size_t i = 0; i < archives_.components.size(); ++i) {
      const PlannedBlock* planned = nullptr;
      for (const PlannedBlock& b : plan.component_blocks) {
        if (b.component == static_cast<int>(i))
          planned = &b;
      }
      CompareBlock("component " + std::to_string(i + 1), archives_.components[i], planned);
    }
  }

  Project& p_;
  const TSetupData& pkg_;
  const DumpedArchives& archives_;
  ProjectFile uninstaller_;
  std::vector<std::string> differences_;
};

}  // namespace

std::vector<std::string> MatchPackage(Project& project,
                                      const TSetupData& package,
                                      const DumpedArchives& archives) {
  return Matcher(project, package, archives).Run();
}

}  // namespace kvb::pack
