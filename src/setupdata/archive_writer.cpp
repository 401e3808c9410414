#include "setupdata/archive_writer.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <fstream>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>

#include "setupdata/archive_compressor.h"
#include "setupdata/archive_format.h"

namespace kvb {
namespace {

// Bytes that must stay free inside an entry so that a volume can still be closed there:
// -4, -1 and the next volume's number.
constexpr uint64_t kBreakReserve = 12;
// Marker, DOS date and entry magic that open an entry.
constexpr uint64_t kEntryStartSize = 12;

std::string LittleEndian32(uint32_t v) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i)
    out[i] = static_cast<char>(v >> (8 * i));
  return out;
}

// Where the block's bytes go: one stream without limit, or volume files of a given size.
class BlockSink {
 public:
  explicit BlockSink(std::ostream& out) : out_(&out) {}
  BlockSink(std::string setup_path, uint64_t volume_size)
      : setup_path_(std::move(setup_path)), limit_(volume_size) {
    OpenVolume(1);
  }

  bool Fits(uint64_t count) const { return limit_ == 0 || used_ + count <= limit_; }
  // True when the current volume holds nothing but the entry magic of a continuation.
  bool FreshVolume() const { return volume_ > 1 && used_ == kEntryMagic.size(); }
  uint64_t Total() const { return total_; }
  uint32_t Volumes() const { return limit_ ? volume_ : 0; }

  void Put(std::string_view bytes) {
    out_->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!*out_)
      throw ArchiveWriteError("cannot write the archive");
    used_ += bytes.size();
    total_ += bytes.size();
  }
  void PutU32(uint32_t v) { Put(LittleEndian32(v)); }
  void PutI32(int32_t v) { PutU32(static_cast<uint32_t>(v)); }

  // Flushes the last volume file; a stream is left to its owner.
  void Finish() {
    if (!file_.is_open())
      return;
    file_.close();
    if (!file_)
      throw ArchiveWriteError("cannot write volume " + VolumeExtension(volume_));
  }

  // Closes the current entry's part in this volume and continues it in the next.
  void BreakVolume() {
    if (limit_ == 0)
      throw ArchiveWriteError("cannot split a block written to a stream");
    if (volume_ >= kMaxVolumeNumber)
      throw ArchiveWriteError("more than 999 volumes needed");
    PutI32(kChunkEndOfEntry);
    PutI32(kMarkerVolumeBreak);
    PutU32(volume_ + 1);
    OpenVolume(volume_ + 1);
    Put(kEntryMagic);
  }

 private:
  void OpenVolume(uint32_t number) {
    if (file_.is_open()) {
      file_.close();
      if (!file_)
        throw ArchiveWriteError("cannot write volume " + VolumeExtension(volume_));
    }
    const std::string path = VolumeFileName(setup_path_, number);
    file_.open(path, std::ios::binary | std::ios::trunc);
    if (!file_)
      throw ArchiveWriteError("cannot create " + path);
    out_ = &file_;
    volume_ = number;
    used_ = 0;
  }

  std::ostream* out_ = nullptr;
  std::ofstream file_;
  std::string setup_path_;
  uint64_t limit_ = 0;  // 0: no volumes
  uint64_t used_ = 0;
  uint64_t total_ = 0;
  uint32_t volume_ = 0;
};

// One step of the block in write order.
struct Step {
  enum Kind { kEntryStart, kPiece, kEntryEnd } kind;
  size_t entry = 0;
  std::string raw;     // kPiece: the piece as read
  std::string packed;  // kPiece: its zlib stream
};

// Reads the entries piece by piece, in order, checking each against its known size.
class PieceReader {
 public:
  PieceReader(const ArchiveBlockContent& block, const std::vector<uint64_t>& sizes)
      : block_(block), sizes_(sizes) {}

  bool Done() const { return entry_ >= block_.Entries.size(); }

  Step Next() {
    if (!source_) {
      source_ = block_.Entries[entry_].Open();
      if (!source_)
        throw ArchiveWriteError(EntryName() + " cannot be opened");
      if (source_->Size() != sizes_[entry_])
        throw ArchiveWriteError(EntryName() + " changed");
      offset_ = 0;
      return Step{Step::kEntryStart, entry_, {}, {}};
    }
    const uint64_t left = sizes_[entry_] - offset_;
    if (left == 0) {
      source_.reset();
      return Step{Step::kEntryEnd, entry_++, {}, {}};
    }
    Step step{Step::kPiece, entry_, std::string(std::min<uint64_t>(left, kPieceSize), '\0'), {}};
    if (source_->ReadAt(offset_, step.raw.data(), step.raw.size()) != step.raw.size()) {
      throw ArchiveWriteError(EntryName() + " cannot be read");
    }
    offset_ += step.raw.size();
    return step;
  }

 private:
  std::string EntryName() const {
    return "entry " + std::to_string(block_.Entries[entry_].EntryIndex);
  }

  const ArchiveBlockContent& block_;
  const std::vector<uint64_t>& sizes_;
  size_t entry_ = 0;
  std::unique_ptr<ByteSource> source_;
  uint64_t offset_ = 0;
};

// Reads and compresses the steps on worker threads while the calling thread writes them
// in order. Reading stays in order (one worker at a time); the pieces are compressed side
// by side, each on its own, so the output does not depend on which thread took which;
// the writer never waits for a batch, only for the next step. At most kWindowPerThread
// steps per thread are on their way, which bounds the memory.
class CompressionPipeline {
 public:
  CompressionPipeline(PieceReader& reader,
                      std::vector<std::unique_ptr<PieceCompressor>>& compressors)
      : reader_(reader),
        compressors_(compressors),
        slots_(kWindowPerThread * compressors.size()),
        end_(reader.Done()) {}

  ~CompressionPipeline() { Stop(); }

  // Hands every step to `emit` in the reader's order. Rethrows the first error of a
  // worker (reading, compressing) or of `emit`, after the workers have stopped.
  void Run(const std::function<void(Step&)>& emit) {
    for (auto& compressor : compressors_)
      workers_.emplace_back([this, c = compressor.get()] { Work(*c); });
    for (size_t seq = 0;; ++seq) {
      Slot& slot = slots_[seq % slots_.size()];
      Step step;
      {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return error_ || slot.filled || (end_ && seq == read_); });
        if (error_)
          break;
        if (!slot.filled)
          break;  // the reader's last step was written
        step = std::move(slot.step);
        slot.filled = false;
        written_ = seq + 1;
      }
      room_.notify_all();
      emit(step);
    }
    Stop();
    if (error_)
      std::rethrow_exception(error_);
  }

 private:
  static constexpr size_t kWindowPerThread = 16;

  struct Slot {
    Step step;
    bool filled = false;
  };

  void Work(PieceCompressor& compressor) {
    std::unique_lock lock(mutex_);
    for (;;) {
      room_.wait(lock, [&] { return stop_ || end_ || read_ < written_ + slots_.size(); });
      if (stop_ || end_)
        return;
      const size_t seq = read_;
      Step step;
      try {
        step = reader_.Next();
        ++read_;
        end_ = reader_.Done();
        if (end_)
          ready_.notify_all();
        lock.unlock();
        if (step.kind == Step::kPiece) {
          compressor.Compress(reinterpret_cast<const uint8_t*>(step.raw.data()), step.raw.size(),
                              step.packed);
        }
        lock.lock();
      } catch (...) {
        if (!lock.owns_lock())
          lock.lock();
        Fail(std::current_exception());
        return;
      }
      Slot& slot = slots_[seq % slots_.size()];
      slot.step = std::move(step);
      slot.filled = true;
      ready_.notify_all();
    }
  }

  // Called with the mutex held.
  void Fail(std::exception_ptr error) {
    if (!error_)
      error_ = error;
    stop_ = true;
    ready_.notify_all();
    room_.notify_all();
  }

  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    room_.notify_all();
    for (std::thread& t : workers_)
      t.join();
    workers_.clear();
  }

  PieceReader& reader_;
  std::vector<std::unique_ptr<PieceCompressor>>& compressors_;
  std::vector<Slot> slots_;  // step `seq` waits in slots_[seq % size] until written
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable ready_;  // a step is ready, the reader ended, or a worker failed
  std::condition_variable room_;   // a step was written, or the workers must stop
  bool end_;                       // the reader has no more steps
  size_t read_ = 0;                // steps taken from the reader
  size_t written_ = 0;             // steps handed to the writer
  bool stop_ = false;
  std::exception_ptr error_;
};

class BlockWriter {
 public:
  BlockWriter(BlockSink& sink, const ArchiveBlockContent& block, const ArchiveWriteOptions& options)
      : sink_(sink), block_(block), options_(options) {}

  ArchiveBlockInfo Write() {
    MeasureEntries();
    WriteHeader();
    PieceReader reader(block_, sizes_);
    std::vector<std::unique_ptr<PieceCompressor>> compressors;
    for (unsigned t = 0; t < ThreadCount(); ++t)
      compressors.push_back(std::make_unique<PieceCompressor>());
    if (compressors.size() == 1) {
      // One thread: read, compress and write each step in turn.
      while (!reader.Done()) {
        Step step = reader.Next();
        if (step.kind == Step::kPiece) {
          compressors[0]->Compress(reinterpret_cast<const uint8_t*>(step.raw.data()),
                                   step.raw.size(), step.packed);
        }
        Emit(step);
      }
    } else {
      CompressionPipeline(reader, compressors).Run([this](Step& step) { Emit(step); });
    }
    sink_.PutI32(kMarkerEndOfBlock);
    sink_.Finish();
    info_.Size = sink_.Total();
    info_.Volumes = sink_.Volumes();
    return info_;
  }

 private:
  unsigned ThreadCount() const {
    unsigned n = options_.Threads ? options_.Threads : std::thread::hardware_concurrency();
    return std::clamp(n, 1u, 64u);
  }

  void MeasureEntries() {
    uint64_t total = 0;
    for (const ArchiveEntry& e : block_.Entries) {
      if (e.EntryIndex < 0)
        throw ArchiveWriteError("negative entry index");
      auto source = e.Open ? e.Open() : nullptr;
      if (!source)
        throw ArchiveWriteError("entry " + std::to_string(e.EntryIndex) + " cannot be opened");
      sizes_.push_back(source->Size());
      total += sizes_.back();
      if (total > UINT32_MAX)
        throw ArchiveWriteError("a block holds less than 4 GiB");
    }
    info_.TotalSize = static_cast<uint32_t>(total);
    info_.FileCount = static_cast<uint32_t>(block_.Entries.size());
  }

  void WriteHeader() {
    const uint64_t start = 4 + kArchiveSignature.size() + 8 + 8 + block_.Message.size();
    const uint64_t next = block_.Entries.empty() ? 4 : kEntryStartSize + kBreakReserve;
    if (!sink_.Fits(start + next))
      throw ArchiveWriteError("the first volume is too small");
    sink_.PutI32(static_cast<int32_t>(kArchiveSignature.size()));
    sink_.Put(kArchiveSignature);
    sink_.PutU32(info_.TotalSize);
    sink_.PutU32(info_.FileCount);
    sink_.PutI32(kMarkerMessage);
    sink_.PutI32(static_cast<int32_t>(block_.Message.size()));
    sink_.Put(block_.Message);
  }

  void Emit(const Step& s) {
    const ArchiveEntry& e = block_.Entries[s.entry];
    switch (s.kind) {
      case Step::kEntryStart:
        sink_.PutI32(e.EntryIndex);
        sink_.PutU32(e.FileDate);
        sink_.Put(kEntryMagic);
        break;
      case Step::kPiece:
        EmitChunk(s);
        break;
      case Step::kEntryEnd: {
        // Room for -4 and for what follows up to the next place a volume may end.
        const bool last = s.entry + 1 == block_.Entries.size();
        const uint64_t need = 4 + (last ? 4 : kEntryStartSize + kBreakReserve);
        if (!sink_.Fits(need))
          BreakWhereNeeded(need);
        sink_.PutI32(kChunkEndOfEntry);
        break;
      }
    }
  }

  void EmitChunk(const Step& s) {
    // A 4-byte piece cannot be stored: its header would read as the end mark.
    const bool stored = s.packed.size() >= s.raw.size() && s.raw.size() != 4;
    const std::string& data = stored ? s.raw : s.packed;
    const uint64_t need = 4 + data.size() + kBreakReserve;
    if (!sink_.Fits(need))
      BreakWhereNeeded(need);
    const int32_t size = static_cast<int32_t>(data.size());
    sink_.PutI32(stored ? -size : size);
    sink_.Put(data);
    ++(stored ? info_.StoredChunks : info_.CompressedChunks);
    done_ += s.raw.size();
    if (options_.OnProgress)
      options_.OnProgress(done_, info_.TotalSize);
  }

  void BreakWhereNeeded(uint64_t need) {
    if (sink_.FreshVolume())
      throw ArchiveWriteError("the volume size is too small");
    sink_.BreakVolume();
    if (!sink_.Fits(need))
      throw ArchiveWriteError("the volume size is too small");
  }

  BlockSink& sink_;
  const ArchiveBlockContent& block_;
  const ArchiveWriteOptions& options_;
  std::vector<uint64_t> sizes_;
  ArchiveBlockInfo info_;
  uint64_t done_ = 0;
};

}  // namespace

ArchiveEntry ArchiveEntry::FromFile(int32_t entry_index, uint32_t file_date, std::string path) {
  return ArchiveEntry{entry_index, file_date,
                      [path = std::move(path)] { return OpenFileSource(path); }};
}

ArchiveEntry ArchiveEntry::FromBytes(int32_t entry_index, uint32_t file_date, std::string bytes) {
  auto shared = std::make_shared<const std::string>(std::move(bytes));
  return ArchiveEntry{entry_index, file_date, [shared]() -> std::unique_ptr<ByteSource> {
                        return std::make_unique<MemorySource>(*shared);
                      }};
}

ArchiveBlockInfo WriteArchiveBlock(std::ostream& out,
                                   const ArchiveBlockContent& block,
                                   const ArchiveWriteOptions& options) {
  BlockSink sink(out);
  return BlockWriter(sink, block, options).Write();
}

ArchiveBlockInfo WriteTempFileArchiveSection(std::ostream& out,
                                             const ArchiveBlockContent& block,
                                             const ArchiveWriteOptions& options) {
  const char has_archive = block.Entries.empty() ? 0 : 1;
  out.put(has_archive);
  if (!out)
    throw ArchiveWriteError("cannot write the archive");
  if (!has_archive)
    return ArchiveBlockInfo{1, 0, 0, 0, 0, 0};
  ArchiveBlockInfo info = WriteArchiveBlock(out, block, options);
  ++info.Size;
  return info;
}

ArchiveBlockInfo WriteArchiveVolumes(const std::string& setup_path,
                                     uint64_t volume_size,
                                     const ArchiveBlockContent& block,
                                     const ArchiveWriteOptions& options) {
  if (volume_size == 0)
    throw ArchiveWriteError("the volume size is too small");
  BlockSink sink(setup_path, volume_size);
  return BlockWriter(sink, block, options).Write();
}

}  // namespace kvb
