#include "volume_fit.h"

#include <memory>

#include "setupdata/archive_format.h"
#include "setupdata/byte_reader.h"

namespace kvb::pack {
namespace {

// Room the writer keeps for a break record (-4, -1, volume number) and the size of an
// entry's start (index, date, magic).
constexpr uint64_t kBreakRecord = 12;
constexpr uint64_t kEntryStart = 12;

class Fitter {
 public:
  explicit Fitter(const std::vector<std::string>& paths) : paths_(paths) {}

  std::optional<uint64_t> Run() {
    if (paths_.empty() || !Open(0))
      return std::nullopt;
    const uint64_t sig = static_cast<uint32_t>(reader_->I32());
    reader_->Skip(sig);
    reader_->U32();
    entries_ = reader_->U32();
    if (reader_->I32() != kMarkerMessage)
      return std::nullopt;
    reader_->Skip(static_cast<uint32_t>(reader_->I32()));
    Place(entries_ == 0 ? 4 : kEntryStart + kBreakRecord);
    for (uint32_t e = 0; e < entries_; ++e) {
      if (reader_->I32() < 0)
        return std::nullopt;
      reader_->Skip(8);  // date and magic
      if (!Entry(e + 1 == entries_))
        return std::nullopt;
    }
    if (reader_->I32() != kMarkerEndOfBlock || volume_ + 1 != paths_.size())
      return std::nullopt;
    if (low_ >= high_)
      return std::nullopt;
    return low_;
  }

 private:
  bool Open(size_t volume) {
    volume_ = volume;
    source_ = OpenFileSource(paths_[volume]);
    if (!source_)
      return false;
    reader_ = std::make_unique<ByteReader>(*source_);
    return true;
  }

  uint64_t Used() const { return reader_->Position(); }
  void Place(uint64_t need) { low_ = std::max(low_, Used() + need); }
  void Broke(uint64_t used, uint64_t need) { high_ = std::min(high_, used + need); }

  // Chunks up to the entry's end mark, following it into further volumes.
  bool Entry(bool last) {
    const uint64_t end_need = 4 + (last ? 4 : kEntryStart + kBreakRecord);
    for (;;) {
      const uint64_t used = Used();
      const int32_t header = reader_->I32();
      if (header != kChunkEndOfEntry) {
        const uint64_t size =
            header < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(header)) : header;
        low_ = std::max(low_, used + 4 + size + kBreakRecord);
        reader_->Skip(size);
        continue;
      }
      if (reader_->Remaining() < 8 || PeekBreak() != kMarkerVolumeBreak) {
        low_ = std::max(low_, used + end_need);
        return true;
      }
      // -4 -1 n: the volume ended here because the next item did not fit.
      reader_->I32();
      reader_->U32();
      if (volume_ + 1 >= paths_.size() || !Open(volume_ + 1))
        return false;
      if (reader_->Bytes(4) != kEntryMagic)
        return false;
      const int32_t next = PeekBreak();
      const uint64_t next_size =
          next < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(next)) : next;
      Broke(used, next == kChunkEndOfEntry ? end_need : 4 + next_size + kBreakRecord);
    }
  }

  int32_t PeekBreak() {
    const uint64_t at = reader_->Position();
    const int32_t value = reader_->I32();
    reader_->Seek(at);
    return value;
  }

  const std::vector<std::string>& paths_;
  std::unique_ptr<ByteSource> source_;
  std::unique_ptr<ByteReader> reader_;
  size_t volume_ = 0;
  uint32_t entries_ = 0;
  uint64_t low_ = 0;
  uint64_t high_ = UINT64_MAX;
};

}  // namespace

std::optional<uint64_t> FitVolumeSize(const std::vector<std::string>& volume_paths) {
  try {
    return Fitter(volume_paths).Run();
  } catch (const FormatError&) {
    return std::nullopt;
  }
}

}  // namespace kvb::pack
