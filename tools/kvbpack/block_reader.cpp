#include "block_reader.h"

#include <memory>
#include <stdexcept>

#include "setupdata/archive_format.h"
#include "setupdata/archive_reader.h"

namespace kvb::pack {
namespace {

// Binds a reader's events so that it records what it reads.
void Bind(TSetupKVBZip& zip,
          BlockContents& out,
          const std::string& extract_dir,
          const std::string& prefix,
          const std::string& setup_path) {
  zip.ProcessMessages = [] {};
  zip.OnMessage = [&out](TSetupKVBZip&, const std::string& text) { out.messages.push_back(text); };
  zip.OnBeforeFile = [&, extract_dir, prefix](TSetupKVBZip&, int32_t index, std::string& name,
                                              bool& extract, uint32_t date, uint32_t&) {
    BlockEntry e{index, date, ""};
    if (!extract_dir.empty()) {
      e.path = extract_dir + "/" + prefix + std::to_string(out.entries.size());
      name = e.path;
    }
    extract = !extract_dir.empty();
    out.entries.push_back(std::move(e));
  };
  // The reader replaces the extension by the volume's number and asks again while the
  // file is missing: a second request for the same volume means it does not exist.
  auto asked = std::make_shared<uint32_t>(0);
  zip.OnNeedVolume = [setup_path, asked](TSetupKVBZip&, uint16_t number, std::string& name,
                                         bool& go_on) {
    if (*asked == number)
      go_on = false;
    *asked = number;
    name = setup_path;
  };
  zip.OnFileNotWritable = [](TSetupKVBZip& z, int32_t, std::string&) { z.Cancel(); };
}

// Files that take what the reader writes and keep nothing: entries are inflated and
// checked, and only volumes are real.
class DiscardedFiles final : public ArchiveFiles {
  class Output final : public ArchiveOutput {
    void Write(const void*, size_t) override {}
    void SetDosDate(uint32_t) override {}
  };

 public:
  bool Exists(const std::string& path) override { return real_->Exists(path); }
  bool Delete(const std::string&) override { return true; }
  bool ForceDirectories(const std::string&) override { return true; }
  std::unique_ptr<ByteSource> OpenVolume(const std::string& path) override {
    return real_->OpenVolume(path);
  }
  std::unique_ptr<ArchiveOutput> Create(const std::string&) override {
    return std::make_unique<Output>();
  }
  std::unique_ptr<ArchiveOutput> Append(const std::string&) override {
    return std::make_unique<Output>();
  }

 private:
  std::unique_ptr<ArchiveFiles> real_ = MakePlatformArchiveFiles();
};

// Where checked entries "go": the names never reach a file.
constexpr char kCheckFolder[] = "check";

void Finish(TSetupKVBZip& zip, bool ok, BlockContents& out) {
  out.total_size = zip.TotalSize;
  out.file_count = zip.FileCount;
  if (!ok) {
    throw std::runtime_error(zip.ErrorCode == 2 ? "an archive chunk does not inflate"
                                                : "an archive block cannot be read completely");
  }
}

}  // namespace

BlockContents ReadBlock(ByteSource& source,
                        uint64_t offset,
                        const std::string& extract_dir,
                        const std::string& prefix) {
  BlockContents out;
  TSetupKVBZip zip;
  Bind(zip, out, extract_dir, prefix, "");
  ArchiveStream stream(source, offset);
  try {
    Finish(zip, zip.Extract(stream, extract_dir), out);
  } catch (const ArchiveError& e) {
    throw std::runtime_error(e.what());
  }
  return out;
}

BlockContents ReadVolumeBlock(const std::string& setup_path,
                              const std::string& extract_dir,
                              const std::string& prefix) {
  BlockContents out;
  TSetupKVBZip zip;
  Bind(zip, out, extract_dir, prefix, setup_path);
  try {
    Finish(zip, zip.ExtractFromFile(VolumeFileName(setup_path, 1), extract_dir), out);
  } catch (const ArchiveError& e) {
    throw std::runtime_error(std::string(e.what()) + " (" + VolumeFileName(setup_path, 1) + ")");
  }
  return out;
}

BlockContents CheckBlock(ByteSource& source, uint64_t offset) {
  BlockContents out;
  TSetupKVBZip zip;
  zip.SetFiles(std::make_unique<DiscardedFiles>());
  Bind(zip, out, kCheckFolder, "", "");
  ArchiveStream stream(source, offset);
  try {
    Finish(zip, zip.Extract(stream, kCheckFolder), out);
  } catch (const ArchiveError& e) {
    throw std::runtime_error(e.what());
  }
  for (BlockEntry& e : out.entries)
    e.path.clear();
  return out;
}

BlockContents CheckVolumeBlock(const std::string& setup_path) {
  BlockContents out;
  TSetupKVBZip zip;
  zip.SetFiles(std::make_unique<DiscardedFiles>());
  Bind(zip, out, kCheckFolder, "", setup_path);
  try {
    Finish(zip, zip.ExtractFromFile(VolumeFileName(setup_path, 1), kCheckFolder), out);
  } catch (const ArchiveError& e) {
    throw std::runtime_error(std::string(e.what()) + " (" + VolumeFileName(setup_path, 1) + ")");
  }
  for (BlockEntry& e : out.entries)
    e.path.clear();
  return out;
}

}  // namespace kvb::pack
