// Fuzz target of the archive reader: arbitrary blocks and volumes, read through an
// in-memory file system. Input: one option byte, then the block; "VOL|" separates the
// contents of the volume files 2, 3, ... that follow it. The reader must neither crash,
// hang nor raise anything but ArchiveError, and must always end with Busy cleared.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "setupdata/archive_format.h"
#include "setupdata/archive_reader.h"

namespace {

using namespace kvb;

class CountingOutput final : public ArchiveOutput {
 public:
  explicit CountingOutput(uint64_t& size) : size_(size) {}
  void Write(const void*, size_t size) override { size_ += size; }
  void SetDosDate(uint32_t) override {}

 private:
  uint64_t& size_;
};

// Volumes in memory; outputs are counted, not kept. Files whose name ends in "3" cannot
// be deleted.
class MemoryFiles final : public ArchiveFiles {
 public:
  std::map<std::string, std::string> volumes;
  std::map<std::string, uint64_t> outputs;

  bool Exists(const std::string& path) override {
    return volumes.count(path) || outputs.count(path);
  }
  bool Delete(const std::string& path) override {
    if (!path.empty() && path.back() == '3')
      return false;
    return outputs.erase(path) > 0;
  }
  bool ForceDirectories(const std::string&) override { return true; }
  std::unique_ptr<ByteSource> OpenVolume(const std::string& path) override {
    auto it = volumes.find(path);
    if (it == volumes.end())
      return nullptr;
    return std::make_unique<MemorySource>(it->second);
  }
  std::unique_ptr<ArchiveOutput> Create(const std::string& path) override {
    outputs[path] = 0;
    return std::make_unique<CountingOutput>(outputs[path]);
  }
  std::unique_ptr<ArchiveOutput> Append(const std::string& path) override {
    auto it = outputs.find(path);
    if (it == outputs.end())
      return nullptr;
    return std::make_unique<CountingOutput>(it->second);
  }
};

std::vector<std::string> Split(std::string_view data, std::string_view separator) {
  std::vector<std::string> pieces;
  for (size_t pos;;) {
    pos = data.find(separator);
    pieces.emplace_back(data.substr(0, pos));
    if (pos == std::string_view::npos)
      return pieces;
    data.remove_prefix(pos + separator.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  const uint8_t options = data[0];
  const std::vector<std::string> pieces =
      Split(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), "VOL|");

  auto files = std::make_unique<MemoryFiles>();
  for (size_t i = 1; i < pieces.size(); ++i) {
    files->volumes["vol." + VolumeExtension(static_cast<uint32_t>(i + 1))] = pieces[i];
  }
  TSetupKVBZip zip;
  zip.SetFiles(std::move(files));
  zip.ProcessMessages = nullptr;
  zip.ProgressSpan = options & 0x40 ? 37 : 0;
  zip.ProgressScale = 1.7;
  zip.ProgressMax = 90;
  int asked = 0;
  zip.OnNeedVolume = [&](TSetupKVBZip&, uint16_t, std::string& name, bool& go_on) {
    name = "vol";
    go_on = ++asked < 4;
  };
  zip.OnBeforeFile = [&](TSetupKVBZip&, int32_t index, std::string& name, bool& extract, uint32_t,
                         uint32_t&) {
    name = "out/e" + std::to_string(index);
    extract = (options >> (index & 7)) & 1;
  };
  int chunks = 0;
  zip.OnProgress = [&](TSetupKVBZip& z, int32_t, uint8_t, bool&) {
    if ((options & 0x80) && ++chunks == 5)
      z.Cancel();
  };

  MemorySource source(pieces[0]);
  ArchiveStream stream(source);
  try {
    zip.Extract(stream, "out/");
  } catch (const ArchiveError&) {
  }
  if (zip.IsBusy() || zip.ErrorCode < 0 || zip.ErrorCode > 2)
    std::abort();
  return 0;
}
