#include "dump.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

#include "base/text.h"
#include "codepage.h"
#include "dump_match.h"
#include "file_facts.h"
#include "project_writer.h"
#include "setup_file.h"
#include "setupdata/archive_format.h"
#include "setupdata/byte_reader.h"
#include "setupdata/byte_sink.h"
#include "setupdata/default_messages.h"
#include "setupdata/package_reader.h"
#include "volume_fit.h"

namespace kvb::pack {
namespace {

namespace fs = std::filesystem;

// A file name for an entry on any system: the package's name with the characters that
// file systems refuse replaced.
std::string SafeFileName(const std::string& ansi, int32_t entry) {
  std::string name = AnsiToUtf8(ansi);
  for (char& c : name) {
    if (static_cast<uint8_t>(c) < 0x20 ||
        std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      c = '_';
  }
  if (name.empty() || name == "." || name == "..")
    name = "entry" + std::to_string(entry);
  return name;
}

class Dumper {
 public:
  Dumper(std::string setup, std::string dir) : setup_(std::move(setup)), dir_(std::move(dir)) {}

  DumpResult Run() {
    SetupFile setup = OpenSetupFile(setup_);
    source_ = std::move(setup.package);
    pkg_ = std::move(setup.pkg);
    scratch_ = (fs::path(dir_) / ".kvbpack-entries").string();
    fs::create_directories(scratch_);
    WriteStub();
    ReadArchives();
    BuildProject();
    DumpResult result;
    result.warnings = MatchPackage(project_, pkg_.Data, archives_);
    for (const std::string& w : missing_)
      result.warnings.push_back(w);
    result.project_file = (fs::path(dir_) / "project.toml").string();
    WriteText(result.project_file, WriteProjectText(project_));
    fs::remove_all(scratch_);
    return result;
  }

 private:
  static void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
      throw std::runtime_error("cannot write \"" + path + "\"");
  }

  // The program image without the setup's signature, which belongs to the whole file.
  void WriteStub() {
    FileSink sink((fs::path(dir_) / "kvbsetup.exe").string());
    UnsignedImage image(*source_, pkg_.Header.Trailer.HeaderOffset);
    CopySource(image, sink);
    sink.Close();
    project_.stub = "kvbsetup.exe";
  }

  void ReadArchives() {
    const TArchiveLocations& loc = pkg_.Archives;
    if (loc.HasArchive == 1)
      archives_.temp = ReadBlock(*source_, loc.TempArchiveOffset, scratch_, "t");
    if (loc.MainArchiveInFile) {
      if (pkg_.MainSection.Size() > 0)
        archives_.main = ReadBlock(*source_, loc.MainArchiveOffset, scratch_, "m");
    } else {
      archives_.main = ReadVolumeBlock(setup_, scratch_, "m");
      std::vector<std::string> volumes;
      uint64_t largest = 0;
      std::error_code ec;
      for (uint32_t n = 1; n <= kMaxVolumeNumber && fs::exists(VolumeFileName(setup_, n), ec);
           ++n) {
        volumes.push_back(VolumeFileName(setup_, n));
        largest = std::max<uint64_t>(largest, fs::file_size(volumes.back(), ec));
      }
      archives_.volume_size = FitVolumeSize(volumes);
      if (!archives_.volume_size) {
        missing_.push_back("the places where the volume files are split");
        archives_.volume_size = largest;
      }
    }
    for (size_t i = 0; i < pkg_.Data.Components.size(); ++i) {
      const TInstallerComponent& c = pkg_.Data.Components[i];
      archives_.components.emplace_back();
      if (c.ArchiveSpan == 0 || !loc.MainArchiveInFile)
        continue;
      archives_.components.back() =
          ReadBlock(*source_, c.ArchiveOffset, scratch_, "c" + std::to_string(i) + "-");
    }
  }

  // The extracted data of an entry, moved to its place under `folder`; a second record
  // naming the same entry gets the same file.
  std::string Place(const std::optional<BlockContents>& block,
                    const std::string& folder,
                    int32_t entry,
                    const std::string& source_name) {
    const auto key = std::make_pair(folder, entry);
    if (auto it = placed_.find(key); it != placed_.end())
      return it->second;
    const BlockEntry* found = nullptr;
    if (block) {
      for (const BlockEntry& e : block->entries) {
        if (e.index == entry && !found)
          found = &e;
      }
    }
    std::string relative = folder + "/" + SafeFileName(source_name, entry);
    if (!used_names_.insert(LowerText(relative)).second) {
      relative = folder + "/" + std::to_string(entry) + "/" + SafeFileName(source_name, entry);
    }
    const fs::path target = fs::path(dir_) / relative;
    fs::create_directories(target.parent_path());
    if (found) {
      fs::rename(found->path, target);
    } else {
      WriteText(target.string(), "");
      missing_.push_back("entry " + std::to_string(entry) + " (" + relative +
                         ") is in no archive block; "
                         "it was written empty");
    }
    placed_[key] = relative;
    dates_[key] = found ? std::optional(found->date) : std::nullopt;
    return relative;
  }

  const std::optional<BlockContents>& BlockOf(uint32_t entry) const {
    auto holds = [entry](const std::optional<BlockContents>& b) {
      if (!b)
        return false;
      for (const BlockEntry& e : b->entries) {
        if (static_cast<uint32_t>(e.index) == entry)
          return true;
      }
      return false;
    };
    for (const auto& c : archives_.components) {
      if (holds(c))
        return c;
    }
    return archives_.main;
  }

  void BuildProject() {
    project_.base_dir = dir_;
    project_.file = (fs::path(dir_) / "project.toml").string();
    project_.data = pkg_.Data;
    // A package with languages stores no language-less table: the defaults stand in.
    if (!pkg_.Data.Languages.empty())
      project_.data.LanguageLessMessages = DefaultMessages(-1);
    project_.data.TempFiles.clear();
    project_.data.DeviceFiles.clear();
    project_.component_archives.assign(pkg_.Data.Components.size(), ComponentArchive{});
    for (const TSetupInstallerFile& t : pkg_.Data.TempFiles) {
      ProjectFile f;
      f.record = t.File;
      f.record.Size = 0;
      const int32_t entry = static_cast<int32_t>(t.EntryIndex);
      f.source = Place(archives_.temp, "temp", entry, t.File.SourceName);
      f.date = dates_[{"temp", entry}];
      project_.temp_files.push_back(std::move(f));
    }
    for (const TSetupInstallerFile& d : pkg_.Data.DeviceFiles)
      project_.files.push_back(PackageFile(d));
  }

  ProjectFile PackageFile(const TSetupInstallerFile& d) {
    ProjectFile f;
    f.record = d.File;
    f.record.Size = 0;
    const int32_t entry = static_cast<int32_t>(d.EntryIndex);
    f.source = Place(BlockOf(d.EntryIndex), "files", entry, d.File.SourceName);
    const std::optional<FileFacts> facts = InspectFile((fs::path(dir_) / f.source).string());
    const FileVersion version{d.VersionHigh, d.VersionLow};
    if (!facts || facts->version.value_or(FileVersion{}) != version)
      f.version = version;
    if (!facts || facts->size != d.File.Size)
      f.size = d.File.Size;
    f.date = d.FileDate;
    const std::optional<uint32_t> archive_date = dates_[{"files", entry}];
    if (archive_date && *archive_date != d.FileDate)
      f.archive_date = archive_date;
    return f;
  }

  std::string setup_, dir_, scratch_;
  std::unique_ptr<ByteSource> source_;
  TSetupPackage pkg_;
  DumpedArchives archives_;
  Project project_;
  std::map<std::pair<std::string, int32_t>, std::string> placed_;
  std::map<std::pair<std::string, int32_t>, std::optional<uint32_t>> dates_;
  std::set<std::string> used_names_;
  std::vector<std::string> missing_;
};

}  // namespace

DumpResult DumpPackage(const std::string& setup_path, const std::string& out_dir) {
  return Dumper(setup_path, out_dir).Run();
}

}  // namespace kvb::pack
