// Archive benchmark: builds a mixed block (text-like, binary and already-compressed
// data) and measures in one run the builder's compression on one and on all threads
// (checking that both write the same bytes), extraction into a folder against raw
// inflation of the same chunks, against writing the same bytes into the same files
// alone, and against inflating and writing one after the other without the reader;
// skipping, zlib against libdeflate, and the peak memory of extraction for a small and a
// large block. Usage: archive_bench [--size MiB] [--dir folder] (scripts/bench.sh)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <libdeflate.h>
#include <zlib.h>

#include "bench/archive/bench_data.h"
#include "bench/archive/bench_process.h"
#include "setupdata/archive_codec.h"
#include "setupdata/archive_compressor.h"
#include "setupdata/archive_format.h"
#include "setupdata/archive_reader.h"
#include "setupdata/archive_writer.h"

namespace kvb::bench {
namespace {

namespace fs = std::filesystem;
constexpr double kMiB = 1024.0 * 1024.0;

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Timing {
  double wall = 1e30;
  double cpu = 1e30;
};

// The shortest wall and CPU times of `runs` runs of `work`; `prepare` runs before each,
// untimed.
Timing Best(int runs,
            const std::function<void()>& work,
            const std::function<void()>& prepare = {}) {
  Timing best;
  for (int i = 0; i < runs; ++i) {
    if (prepare)
      prepare();
    const double cpu = CpuSeconds();
    best.wall = std::min(best.wall, Seconds(work));
    best.cpu = std::min(best.cpu, CpuSeconds() - cpu);
  }
  return best;
}

ArchiveBlockContent MakeContent(const std::vector<FilePlan>& plan) {
  ArchiveBlockContent content{"", {}};
  for (size_t i = 0; i < plan.size(); ++i) {
    const FilePlan p = plan[i];
    content.Entries.push_back({static_cast<int32_t>(i), 0x30000000, [p] {
                                 return std::make_unique<GeneratedSource>(p.kind, p.seed, p.size);
                               }});
  }
  return content;
}

// Takes the CRC-32 of what is written through it, and passes it on to `next` if given.
class CrcBuffer final : public std::streambuf {
 public:
  explicit CrcBuffer(std::streambuf* next = nullptr) : next_(next) {}
  uLong Crc() const { return crc_; }

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    crc_ = crc32(crc_, reinterpret_cast<const Bytef*>(s), static_cast<uInt>(n));
    return next_ ? next_->sputn(s, n) : n;
  }
  int overflow(int c) override {
    if (c == traits_type::eof())
      return c;
    const char ch = static_cast<char>(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
  }
  int sync() override { return next_ ? next_->pubsync() : 0; }

 private:
  std::streambuf* next_;
  uLong crc_ = crc32(0, nullptr, 0);
};

// Extracts `block` into `dir` (entry N to "N"), or skips every entry.
bool ExtractBlock(const std::string& block, const std::string& dir, bool skip) {
  TSetupKVBZip zip;
  zip.OnBeforeFile = [&](TSetupKVBZip&, int32_t index, std::string& name, bool& extract, uint32_t,
                         uint32_t&) {
    name += std::to_string(index);
    extract = !skip;
  };
  return zip.ExtractFromFile(block, dir);
}

// The chunks of a block held in memory, as (offset, header) pairs, with the entry they
// belong to.
struct Chunk {
  size_t offset;
  int32_t header;
  int32_t entry;
};

std::vector<Chunk> ListChunks(const std::string& block) {
  auto i32 = [&](size_t at) {
    int32_t v;
    std::memcpy(&v, block.data() + at, 4);
    return v;
  };
  size_t pos = 4 + i32(0) + 8;
  std::vector<Chunk> chunks;
  for (int32_t marker; (marker = i32(pos)) != kMarkerEndOfBlock;) {
    pos += 4;
    if (marker == kMarkerMessage) {
      pos += 4 + i32(pos);
      continue;
    }
    pos += 8;  // date and entry magic
    for (int32_t h; (h = i32(pos)) != kChunkEndOfEntry;) {
      chunks.push_back({pos + 4, h, marker});
      pos += 4 + static_cast<size_t>(h < 0 ? -int64_t{h} : h);
    }
    pos += 4;
  }
  return chunks;
}

Timing InflateAll(const std::string& block, const std::vector<Chunk>& chunks, ZlibCodec codec) {
  ChunkInflater inflater(codec);
  std::vector<uint8_t> out(kPieceSize);
  return Best(3, [&] {
    for (const Chunk& c : chunks) {
      const auto* in = reinterpret_cast<const uint8_t*>(block.data() + c.offset);
      if (c.header > 0) {
        if (!inflater.Inflate(in, c.header, out.data()))
          std::abort();
      } else {
        std::memcpy(out.data(), in, static_cast<size_t>(-int64_t{c.header}));
      }
    }
  });
}

// Writes every entry's bytes, taken from `data` (the block's contents one entry after the
// other), into its file in `dir` as extraction does, piece by piece through the
// platform's files, without inflating anything: what extraction cannot beat.
Timing WriteAlone(const std::string& data,
                  const std::vector<FilePlan>& plan,
                  const std::string& dir) {
  return Best(
      3,
      [&] {
        auto files = MakePlatformArchiveFiles();
        size_t at = 0;
        for (size_t i = 0; i < plan.size(); ++i) {
          auto output = files->Create(dir + std::to_string(i));
          if (!output)
            std::abort();
          for (uint64_t left = plan[i].size; left > 0;) {
            const size_t n = static_cast<size_t>(std::min<uint64_t>(left, kPieceSize));
            output->Write(data.data() + at, n);
            at += n;
            left -= n;
          }
          output->SetDosDate(0x30000000);
        }
      },
      [&] {
        fs::remove_all(dir);
        fs::create_directories(dir);
      });
}

// Inflates each chunk and writes it into its entry's file at once: extraction without
// the reader's format and events.
Timing InflateThenWrite(const std::string& block,
                        const std::vector<Chunk>& chunks,
                        const std::string& dir) {
  ChunkInflater inflater(kShippedInflater);
  std::vector<uint8_t> out(kPieceSize);
  return Best(
      3,
      [&] {
        auto files = MakePlatformArchiveFiles();
        std::unique_ptr<ArchiveOutput> output;
        int32_t entry = -1;
        for (const Chunk& c : chunks) {
          if (c.entry != entry) {
            if (output)
              output->SetDosDate(0x30000000);
            entry = c.entry;
            output = files->Create(dir + std::to_string(entry));
            if (!output)
              std::abort();
          }
          const auto* in = reinterpret_cast<const uint8_t*>(block.data() + c.offset);
          if (c.header > 0) {
            const std::optional<size_t> n = inflater.Inflate(in, c.header, out.data());
            if (!n)
              std::abort();
            output->Write(out.data(), *n);
          } else {
            output->Write(in, static_cast<size_t>(-int64_t{c.header}));
          }
        }
        if (output)
          output->SetDosDate(0x30000000);
      },
      [&] {
        fs::remove_all(dir);
        fs::create_directories(dir);
      });
}

// The entries' contents one after the other.
std::string PlannedBytes(const std::vector<FilePlan>& plan) {
  std::string data;
  for (const FilePlan& p : plan) {
    GeneratedSource source(p.kind, p.seed, p.size);
    const size_t at = data.size();
    data.resize(at + p.size);
    source.ReadAt(0, data.data() + at, p.size);
  }
  return data;
}

bool SameAsPlan(const std::vector<FilePlan>& plan, const std::string& dir) {
  std::vector<char> expected, actual;
  for (size_t i = 0; i < plan.size(); ++i) {
    GeneratedSource source(plan[i].kind, plan[i].seed, plan[i].size);
    expected.resize(plan[i].size);
    source.ReadAt(0, expected.data(), expected.size());
    std::ifstream in(dir + std::to_string(i), std::ios::binary);
    actual.assign(std::istreambuf_iterator<char>(in), {});
    if (actual != expected)
      return false;
  }
  return true;
}

// Size and speed of zlib's best level against libdeflate's levels 9 (shipped) and 12.
void CompareCompressors(const std::vector<FilePlan>& plan, uint64_t budget) {
  std::printf("piece compression, 1 thread, first %.0f MiB:", budget / kMiB);
  PieceCompressor zlib(ZlibCodec::kZlib), deflate9(ZlibCodec::kLibdeflate);
  libdeflate_compressor* deflate12 = libdeflate_alloc_compressor(12);
  const std::vector<
      std::pair<const char*, std::function<void(const uint8_t*, size_t, std::string&)>>>
      codecs = {{"zlib-9",
                 [&](const uint8_t* in, size_t n, std::string& out) { zlib.Compress(in, n, out); }},
                {"libdeflate-9", [&](const uint8_t* in, size_t n,
                                     std::string& out) { deflate9.Compress(in, n, out); }},
                {"libdeflate-12", [&](const uint8_t* in, size_t n, std::string& out) {
                   out.resize(libdeflate_zlib_compress_bound(deflate12, n));
                   out.resize(libdeflate_zlib_compress(deflate12, in, n, out.data(), out.size()));
                 }}};
  for (const auto& [name, compress] : codecs) {
    std::vector<uint8_t> piece(kPieceSize);
    std::string out;
    uint64_t in_bytes = 0, out_bytes = 0;
    const double s = Seconds([&] {
      for (const FilePlan& p : plan) {
        GeneratedSource source(p.kind, p.seed, p.size);
        for (uint64_t off = 0; off < p.size && in_bytes < budget; off += kPieceSize) {
          const size_t n = source.ReadAt(off, piece.data(), kPieceSize);
          compress(piece.data(), n, out);
          in_bytes += n;
          out_bytes += std::min(out.size(), n);
        }
      }
    });
    std::printf("  %s %.2f s -> %.2f MiB", name, s, out_bytes / kMiB);
  }
  libdeflate_free_compressor(deflate12);
  std::printf("\n");
}

int Run(uint64_t mib, const std::string& self, const fs::path& work) {
  fs::create_directories(work);
  const std::vector<FilePlan> plan = PlanFiles(mib << 20);
  const ArchiveBlockContent content = MakeContent(plan);
  const std::string block = (work / "block.bin").string();
  const std::string out_dir =
      (work / "out").string() + static_cast<char>(fs::path::preferred_separator);

  // Compression on all threads and on one thread, each into a block file as the builder
  // writes it; both must write the same bytes.
  struct Compression {
    double wall, cpu;
    uLong crc;
  };
  ArchiveBlockInfo info;
  auto compress = [&](const std::string& path, ArchiveWriteOptions options) {
    std::filebuf file;
    if (!file.open(path, std::ios::out | std::ios::binary | std::ios::trunc))
      std::abort();
    CrcBuffer crc_buffer(&file);
    std::ostream out(&crc_buffer);
    const double cpu = CpuSeconds();
    const double wall = Seconds([&] { info = WriteArchiveBlock(out, content, options); });
    Compression result{wall, CpuSeconds() - cpu, crc_buffer.Crc()};
    file.close();
    return result;
  };
  const Compression one = compress((work / "block-1.bin").string(), {1, nullptr});
  const Compression all = compress(block, {});
  fs::remove(work / "block-1.bin");
  std::printf("block: %.0f MiB in %zu files -> %.1f MiB, %u chunks (%u stored)\n",
              info.TotalSize / kMiB, plan.size(), info.Size / kMiB,
              info.StoredChunks + info.CompressedChunks, info.StoredChunks);
  std::printf(
      "compression: all threads (%u) %.2f s (CPU %.2f s), 1 thread %.2f s (CPU %.2f s), "
      "speed-up %.2f x, same bytes: %s\n",
      std::thread::hardware_concurrency(), all.wall, all.cpu, one.wall, one.cpu,
      one.wall / all.wall, all.crc == one.crc ? "yes" : "NO");
  if (all.crc != one.crc)
    return 1;
  CompareCompressors(plan, std::min<uint64_t>(mib << 20, 32u << 20));

  // Every run of (a), (c) and (e) writes into an emptied folder; emptying it is not timed.
  auto extract = [&](bool skip) {
    return Best(
        3,
        [&] {
          if (!ExtractBlock(block, out_dir, skip))
            std::abort();
        },
        [&] { fs::remove_all(out_dir); });
  };
  const Timing a = extract(false);
  if (!SameAsPlan(plan, out_dir)) {
    std::printf("extracted files differ from the originals\n");
    return 1;
  }
  const Timing d = extract(true);
  std::string bytes;
  {
    std::ifstream in(block, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::vector<Chunk> chunks = ListChunks(bytes);
  const Timing b = InflateAll(bytes, chunks, kShippedInflater);
  const Timing b_zlib = InflateAll(bytes, chunks, ZlibCodec::kZlib);
  const Timing c = WriteAlone(PlannedBytes(plan), plan, out_dir);
  const Timing e = InflateThenWrite(bytes, chunks, out_dir);
  if (!SameAsPlan(plan, out_dir)) {
    std::printf("inflated and written files differ from the originals\n");
    return 1;
  }
  const double total = info.TotalSize / kMiB;
  std::printf("times below: best of 3, wall / CPU seconds\n");
  std::printf("(a) extraction %.3f / %.3f s = %.0f / %.0f MiB/s\n", a.wall, a.cpu, total / a.wall,
              total / a.cpu);
  std::printf(
      "(b) raw inflation in memory, libdeflate %.3f / %.3f s; zlib %.3f / %.3f s; "
      "libdeflate %.2f / %.2f x zlib\n",
      b.wall, b.cpu, b_zlib.wall, b_zlib.cpu, b_zlib.wall / b.wall, b_zlib.cpu / b.cpu);
  std::printf("(c) writing the same bytes into the same files alone %.3f / %.3f s\n", c.wall,
              c.cpu);
  std::printf("(d) skipping every entry %.4f / %.4f s = %.2f%% / %.2f%% of (a)\n", d.wall, d.cpu,
              100 * d.wall / a.wall, 100 * d.cpu / a.cpu);
  std::printf("(e) inflating and writing each chunk, without the reader %.3f / %.3f s\n", e.wall,
              e.cpu);
  std::printf(
      "speed of extraction (a) against: raw inflation (b) %.2f / %.2f, writing alone (c) %.2f "
      "/ %.2f, inflating then writing (e) %.2f / %.2f, (b) and (c) added %.2f / %.2f\n",
      b.wall / a.wall, b.cpu / a.cpu, c.wall / a.wall, c.cpu / a.cpu, e.wall / a.wall,
      e.cpu / a.cpu, (b.wall + c.wall) / a.wall, (b.cpu + c.cpu) / a.cpu);

  // Peak memory in a fresh process for a small and this block.
  const std::string small = (work / "small.bin").string();
  {
    std::ofstream out(small, std::ios::binary);
    WriteArchiveBlock(out, MakeContent(PlanFiles(16u << 20)));
  }
  for (const std::string& path : {small, block}) {
    fs::remove_all(out_dir);
    const MemoryUse use = MeasureChild(self, path, out_dir, (work / "rss.txt").string());
    std::printf("peak memory extracting %s: baseline %llu KiB, peak %llu KiB, +%lld KiB\n",
                fs::path(path).filename().string().c_str(), use.baseline_kib, use.peak_kib,
                static_cast<long long>(use.peak_kib - use.baseline_kib));
  }
  fs::remove_all(work);
  return 0;
}

}  // namespace
}  // namespace kvb::bench

int main(int argc, char** argv) {
  using namespace kvb::bench;
  if (argc == 5 && std::strcmp(argv[1], kChildFlag) == 0) {
    return ChildExtract(argv[2], argv[3], argv[4],
                        [](const std::string& block, const std::string& dir) {
                          return ExtractBlock(block, dir, false);
                        });
  }
  uint64_t mib = 256;
  std::filesystem::path work = std::filesystem::temp_directory_path() / "kvb-archive-bench";
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--size") == 0)
      mib = std::stoull(argv[i + 1]);
    if (std::strcmp(argv[i], "--dir") == 0)
      work = argv[i + 1];
  }
  return Run(mib, argv[0], work);
}
