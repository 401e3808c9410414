#include "build.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "background_check.h"
#include "file_facts.h"
#include "output_files.h"
#include "resolve.h"
#include "setup_file.h"
#include "setupdata/archive_format.h"
#include "setupdata/archive_writer.h"
#include "setupdata/byte_sink.h"
#include "setupdata/package_writer.h"

namespace kvb::pack {
namespace {

ArchiveBlockContent ContentOf(const PlannedBlock& block) {
  ArchiveBlockContent content;
  content.Message = block.message;
  for (const PlannedEntry& e : block.entries) {
    content.Entries.push_back(ArchiveEntry::FromFile(e.index, e.date, e.path));
  }
  return content;
}

// Adds up the progress of the blocks, written one after the other.
class ProgressTotal {
 public:
  ProgressTotal(const PackagePlan& plan, std::function<void(uint64_t, uint64_t)> report)
      : report_(std::move(report)) {
    total_ = plan.temp_block.TotalSize() + plan.main_block.TotalSize();
    for (const PlannedBlock& b : plan.component_blocks)
      total_ += b.TotalSize();
  }
  ArchiveWriteOptions Options(unsigned jobs) {
    ArchiveWriteOptions options;
    options.Threads = jobs;
    if (report_) {
      options.OnProgress = [this](uint64_t done, uint64_t) { report_(base_ + done, total_); };
    }
    return options;
  }
  void BlockDone(const PlannedBlock& block) { base_ += block.TotalSize(); }

 private:
  std::function<void(uint64_t, uint64_t)> report_;
  uint64_t total_ = 0;
  uint64_t base_ = 0;
};

class Builder {
 public:
  Builder(const Project& project, const BuildOptions& options)
      : project_(project), options_(options), files_(options.output) {}

  BuildResult Run() {
    PackagePlan plan =
        ResolveProject(project_, {options_.uninstaller, options_.default_uninstaller,
                                options_.volume_size});
    result_.warnings = MissingBackgroundPictures(plan.data);
    std::unique_ptr<ByteSource> stub_file = OpenStub();
    UnsignedImage stub(*stub_file, stub_file->Size());
    if (stub.WasSigned()) {
      result_.warnings.push_back(
          "the setup program image is signed; its signature is left out, as it would not cover "
          "the package: sign the built setup instead");
    }
    const std::filesystem::path folder = std::filesystem::path(options_.output).parent_path();
    if (!folder.empty())
      std::filesystem::create_directories(folder);
    ProgressTotal progress(plan, options_.on_progress);

    const std::string temp_section = files_.Temporary(".s15");
    WriteTempSection(plan, temp_section, progress);
    const std::string main_section = files_.Temporary(".s16");
    const std::string package = files_.TemporaryPackage();
    std::vector<uint64_t> block_sizes = WriteMainSection(plan, main_section, package, progress);

    const uint64_t main_size = std::filesystem::file_size(main_section);
    const TPackageLayout layout = ComputePackageLayout(
        plan.data, stub.Size(), std::filesystem::file_size(temp_section), main_size);
    PlaceComponentBlocks(plan, layout.SectionOffsets[16], block_sizes);

    std::unique_ptr<ByteSource> temp_source = OpenFileSource(temp_section);
    std::unique_ptr<ByteSource> main_source = OpenFileSource(main_section);
    if (!temp_source || !main_source)
      throw std::runtime_error("cannot read back the archive sections");
    TPackageArchives archives;
    archives.TempSection = temp_source.get();
    archives.MainSection = main_size > 0 ? main_source.get() : nullptr;
    archives.MainArchiveInVolumes = plan.volume_size.has_value();
    {
      FileSink sink(package);
      WritePackage(sink, &stub, plan.data, archives);
      sink.Close();
    }
    temp_source.reset();
    main_source.reset();
    result_.size = layout.FileSize;
    return Commit(package, project_.signing ? Sign(package) : package);
  }

 private:
  std::unique_ptr<ByteSource> OpenStub() {
    if (!options_.stub.empty()) {
      std::unique_ptr<ByteSource> stub = OpenFileSource(options_.stub);
      if (!stub)
        throw std::runtime_error("cannot read the setup program \"" + options_.stub + "\"");
      return stub;
    }
    if (project_.stub.empty()) {
      throw std::runtime_error(
          "no setup program to build on: give --stub or stub = \"...\" in [package]");
    }
    const std::string path = JoinPath(project_.base_dir, project_.stub);
    std::unique_ptr<ByteSource> stub = OpenFileSource(path);
    if (!stub)
      throw ProjectError(project_.stub_pos, "cannot read the setup program \"" + path + "\"");
    return stub;
  }

  std::ofstream OpenOut(const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
      throw std::runtime_error("cannot create \"" + path + "\"");
    return out;
  }

  void WriteTempSection(const PackagePlan& plan, const std::string& path, ProgressTotal& progress) {
    std::ofstream out = OpenOut(path);
    out.put(plan.temp_archive ? 1 : 0);
    if (plan.temp_archive)
      WriteArchiveBlock(out, ContentOf(plan.temp_block), progress.Options(options_.jobs));
    progress.BlockDone(plan.temp_block);
    out.close();
    if (!out)
      throw std::runtime_error("cannot write \"" + path + "\"");
  }

  // Writes the main block (into the section or into volume files) and the component
  // blocks behind it; returns the size of every block written into the section.
  std::vector<uint64_t> WriteMainSection(const PackagePlan& plan,
                                         const std::string& path,
                                         const std::string& package,
                                         ProgressTotal& progress) {
    std::ofstream out = OpenOut(path);
    std::vector<uint64_t> sizes;
    if (plan.volume_size) {
      volumes_ = WriteArchiveVolumes(package, *plan.volume_size, ContentOf(plan.main_block),
                                     progress.Options(options_.jobs))
                     .Volumes;
      sizes.push_back(0);
    } else if (plan.main_archive) {
      sizes.push_back(
          WriteArchiveBlock(out, ContentOf(plan.main_block), progress.Options(options_.jobs)).Size);
    } else {
      sizes.push_back(0);
    }
    progress.BlockDone(plan.main_block);
    for (const PlannedBlock& block : plan.component_blocks) {
      sizes.push_back(
          WriteArchiveBlock(out, ContentOf(block), progress.Options(options_.jobs)).Size);
      progress.BlockDone(block);
    }
    out.close();
    if (!out)
      throw std::runtime_error("cannot write \"" + path + "\"");
    return sizes;
  }

  // Component blocks follow the main block inside section 16, at absolute offsets.
  static void PlaceComponentBlocks(PackagePlan& plan,
                                   uint64_t section_start,
                                   const std::vector<uint64_t>& sizes) {
    uint64_t offset = section_start + sizes[0];
    for (size_t i = 0; i < plan.component_blocks.size(); ++i) {
      if (offset > UINT32_MAX)
        throw ProjectError("the package is too large: component blocks must start below 4 GiB");
      plan.data.Components[plan.component_blocks[i].component].ArchiveOffset =
          static_cast<uint32_t>(offset);
      offset += sizes[i + 1];
    }
  }

  // Signs the written package into a further temporary file and returns that file.
  std::string Sign(const std::string& package) {
    SigningOptions options = *project_.signing;
    for (std::string* path :
         {&options.certificate, &options.key, &options.pkcs12, &options.password_file}) {
      if (!path->empty())
        *path = JoinPath(project_.base_dir, *path);
    }
    const std::string signed_package = files_.Temporary(".signed");
    SignSetupFile(options, package, signed_package);
    result_.size = std::filesystem::file_size(signed_package);
    result_.signed_setup = true;
    return signed_package;
  }

  // Moves the volume files written beside `package`, and `program` (the package, or its
  // signed copy), to their places.
  BuildResult Commit(const std::string& package, const std::string& program) {
    for (uint32_t n = 1; n <= volumes_; ++n) {
      files_.Commit(VolumeFileName(package, n), VolumeFileName(options_.output, n));
    }
    // Volumes of an earlier, larger build would otherwise sit beside the new ones.
    std::error_code ec;
    for (uint32_t n = volumes_ + 1; volumes_ > 0 && n <= kMaxVolumeNumber; ++n) {
      if (!std::filesystem::remove(VolumeFileName(options_.output, n), ec))
        break;
    }
    files_.Commit(program, options_.output);
    result_.volumes = volumes_;
    return result_;
  }

  const Project& project_;
  const BuildOptions& options_;
  OutputFiles files_;
  uint32_t volumes_ = 0;
  BuildResult result_;
};

}  // namespace

BuildResult BuildPackage(const Project& project, const BuildOptions& options) {
  return Builder(project, options).Run();
}

}  // namespace kvb::pack
