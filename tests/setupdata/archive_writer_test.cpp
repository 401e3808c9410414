#include "setupdata/archive_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "setupdata/archive_codec.h"
#include "setupdata/archive_progress.h"
#include "setupdata/archive_test_util.h"
#include "setupdata/byte_reader.h"

namespace kvb {
namespace {

using test::ScratchFolder;

TEST(ArchiveFormatTest, VolumeNames) {
  const struct {
    uint32_t number;
    const char* ext;
  } exts[] = {{1, "001"}, {7, "007"}, {12, "012"}, {123, "123"}, {999, "999"}, {1000, "000"}};
  for (const auto& c : exts)
    EXPECT_EQ(VolumeExtension(c.number), c.ext);
  const struct {
    const char* path;
    const char* changed;
  } paths[] = {{"C:\\cd\\Setup.exe", "C:\\cd\\Setup.007"},
               {"C:\\cd.v1\\Setup", "C:\\cd.v1\\Setup.007"},
               {"Setup", "Setup.007"},
               {"", ".007"},
               {"a/b.c/d.tar.gz", "a/b.c/d.tar.007"},
               {"C:x.y", "C:x.007"}};
  for (const auto& c : paths)
    EXPECT_EQ(ChangeFileExt(c.path, ".007"), c.changed) << c.path;
  EXPECT_EQ(VolumeFileName("D:\\Setup.exe", 2), "D:\\Setup.002");
}

TEST(ArchiveProgressTest, RoundsHalvesToEvenAndStaysInRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double value;
    int64_t rounded;
  } rounding[] = {{0.5, 0},    {1.5, 2}, {2.5, 2},           {-0.5, 0},          {-1.5, -2},
                  {2.4999, 2}, {nan, 0}, {1e300, INT64_MAX}, {-1e300, INT64_MIN}};
  for (const auto& c : rounding)
    EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;

  const struct {
    uint32_t done, total;
    int64_t percent;
  } percents[] = {{1, 8, 12},  {3, 8, 38},  {1, 200, 0},         {3, 200, 2},
                  {5, 5, 100}, {0, 0, 100}, {65536, 1, 6553600}, {UINT32_MAX, UINT32_MAX, 100}};
  for (const auto& c : percents)
    EXPECT_EQ(ProgressPercent(c.done, c.total), c.percent) << c.done << "/" << c.total;

  const ArchiveProgressScale plain{10, 20, 0, 5.0};
  EXPECT_EQ(ProgressValue(1, 2, plain), 50);  // no span: base and limit unused
  EXPECT_EQ(ProgressValue(3 * 65536, 300, plain), 100);
  EXPECT_EQ(FinalProgressValue(plain), 100);
  const ArchiveProgressScale broken{7, 1000, 50, nan};
  EXPECT_EQ(ProgressValue(1, 2, broken), 7);
  EXPECT_EQ(FinalProgressValue(broken), 7);
  const ArchiveProgressScale huge{INT32_MAX, INT32_MAX, INT32_MAX, 1e300};
  EXPECT_EQ(ProgressValue(1, 2, huge), INT32_MAX);
  EXPECT_EQ(FinalProgressValue({60, 100, 40, 100.0 / 40}), 100);
}

class InflaterTest : public ::testing::TestWithParam<ZlibCodec> {};

// Both libraries accept and refuse the same chunks.
TEST_P(InflaterTest, SameResultsForGoodAndDamagedStreams) {
  ChunkInflater inflater(GetParam());
  std::string out(kPieceSize, '\0');
  auto inflate = [&](const std::string& in) {
    return inflater.Inflate(reinterpret_cast<const uint8_t*>(in.data()), in.size(),
                            reinterpret_cast<uint8_t*>(out.data()));
  };
  const std::string full = test::TextBytes(kPieceSize);
  const std::string good = test::Zlib(full);
  ASSERT_EQ(inflate(good), kPieceSize);
  EXPECT_EQ(out, full);
  EXPECT_EQ(inflate(good + "trailing"), kPieceSize);
  EXPECT_EQ(inflate(test::Zlib("")), 0u);

  std::string flipped = good, bad_check = good, bad_header = good;
  flipped[good.size() / 2] ^= 0x10;
  bad_check[good.size() - 1] ^= 1;
  bad_header[1] ^= 1;
  // A preset dictionary (FDICT set, header check kept valid).
  const std::string dictionary = std::string("\x78\xBB", 2) + good.substr(2);
  for (const std::string& bad :
       {test::Zlib(full + "x"), flipped, bad_check, bad_header, good.substr(0, good.size() - 1),
        good.substr(0, 10), dictionary, std::string(), std::string("\x78\x9C", 2)}) {
    EXPECT_FALSE(inflate(bad).has_value());
  }
}

INSTANTIATE_TEST_SUITE_P(Codecs,
                         InflaterTest,
                         ::testing::Values(ZlibCodec::kZlib, ZlibCodec::kLibdeflate));

// The chunk headers of an entry's data in a block written to a stream.
std::vector<int32_t> ChunkHeaders(const std::string& block) {
  MemorySource source(block);
  ByteReader r(source);
  r.Skip(r.U32());
  r.Skip(8);
  EXPECT_EQ(r.I32(), kMarkerMessage);
  r.Skip(r.U32());
  r.Skip(12);
  std::vector<int32_t> headers;
  for (int32_t h; (h = r.I32()) != kChunkEndOfEntry;) {
    headers.push_back(h);
    r.Skip(static_cast<uint64_t>(std::abs(int64_t{h})));
  }
  EXPECT_EQ(r.I32(), kMarkerEndOfBlock);
  return headers;
}

std::string Write(const ArchiveBlockContent& content, unsigned threads = 0) {
  std::ostringstream out;
  WriteArchiveBlock(out, content, {threads, nullptr});
  return out.str();
}

TEST(ArchiveWriterTest, PiecesAreCompressedUnlessThatDoesNotShrinkThem) {
  const std::string mixed = test::TextBytes(kPieceSize) + test::RandomBytes(kPieceSize + 3, 9);
  const std::vector<int32_t> headers =
      ChunkHeaders(Write({"", {ArchiveEntry::FromBytes(0, 0, mixed)}}));
  ASSERT_EQ(headers.size(), 3u);
  EXPECT_GT(headers[0], 0);
  EXPECT_LT(headers[0], 65536 / 10);
  EXPECT_EQ(headers[1], -65536);
  EXPECT_EQ(headers[2], -3);
  // A 4-byte piece never becomes the end mark, though compressing it does not help.
  EXPECT_GT(ChunkHeaders(Write({"", {ArchiveEntry::FromBytes(0, 0, test::RandomBytes(4, 1))}}))[0],
            4);
}

TEST(ArchiveWriterTest, OutputDoesNotDependOnTheThreadCount) {
  ArchiveBlockContent content{"Component", {}};
  for (int i = 0; i < 8; ++i) {
    content.Entries.push_back(ArchiveEntry::FromBytes(
        i, i, i % 2 ? test::TextBytes(i * 20000) : test::RandomBytes(i * 15000, i)));
  }
  const std::string one = Write(content, 1);
  EXPECT_EQ(Write(content, 2), one);
  EXPECT_EQ(Write(content, 7), one);
}

// A source whose reads fail half way through.
class FailingSource final : public ByteSource {
 public:
  uint64_t Size() const override { return 4 * kPieceSize; }
  size_t ReadAt(uint64_t offset, void*, size_t count) override {
    return offset < 2 * kPieceSize ? count : 0;
  }
};

// A read that fails, or a volume that overflows, while other threads still compress
// ends the whole write with the error, on any number of threads.
TEST(ArchiveWriterTest, ErrorsEndTheWriteOnEveryThreadCount) {
  ArchiveBlockContent failing{"", {}};
  ArchiveBlockContent large{"", {}};
  for (int i = 0; i < 24; ++i) {
    failing.Entries.push_back(ArchiveEntry::FromBytes(i, 0, test::RandomBytes(kPieceSize, i)));
    large.Entries.push_back(ArchiveEntry::FromBytes(i, 0, test::RandomBytes(kPieceSize, i)));
  }
  failing.Entries[17] = {17, 0, [] { return std::make_unique<FailingSource>(); }};
  ScratchFolder dir;
  for (unsigned threads : {1u, 2u, 7u}) {
    SCOPED_TRACE(threads);
    EXPECT_THROW(Write(failing, threads), ArchiveWriteError);
    // Volumes too small for a stored piece fail at the first piece, with the workers
    // busy reading ahead; volumes of 70,000 bytes hold one piece each.
    EXPECT_THROW(WriteArchiveVolumes(dir / "S.exe", 50000, large, {threads, nullptr}),
                 ArchiveWriteError);
    EXPECT_EQ(WriteArchiveVolumes(dir / "S.exe", 70000, large, {threads, nullptr}).Volumes, 24u);
  }
}

TEST(ArchiveWriterTest, TemporaryFileSectionWithoutEntriesIsOneZeroByte) {
  std::ostringstream empty, full;
  EXPECT_EQ(WriteTempFileArchiveSection(empty, {"", {}}).Size, 1u);
  EXPECT_EQ(empty.str(), std::string(1, '\0'));
  const ArchiveBlockInfo info =
      WriteTempFileArchiveSection(full, {"", {ArchiveEntry::FromBytes(2, 0, "x")}});
  EXPECT_EQ(full.str()[0], 1);
  EXPECT_EQ(info.Size, full.str().size());
}

TEST(ArchiveWriterTest, ReadsFilesAndRefusesWhatItCannotWrite) {
  ScratchFolder dir;
  test::WriteFile(dir / "a.txt", "content of a");
  std::ostringstream out;
  EXPECT_EQ(WriteArchiveBlock(out, {"", {ArchiveEntry::FromFile(0, 0, dir / "a.txt")}}).TotalSize,
            12u);

  int opened = 0;
  ArchiveEntry changing{0, 0, [&]() -> std::unique_ptr<ByteSource> {
                          return std::make_unique<MemorySource>(std::string(++opened, 'x'));
                        }};
  const std::string big = test::RandomBytes(3 * kPieceSize, 3);
  const std::vector<std::pair<const char*, std::function<void()>>> failures = {
      {"missing file",
       [&] {
         Write({"", {ArchiveEntry::FromFile(0, 0, dir / "none")}});
       }},
      {"size changes",
       [&] {
         Write({"", {changing}});
       }},
      {"negative index",
       [&] {
         Write({"", {ArchiveEntry::FromBytes(-1, 0, "x")}});
       }},
      {"volume below a chunk",
       [&] {
         WriteArchiveVolumes(dir / "S.exe", 60000, {"", {ArchiveEntry::FromBytes(0, 0, big)}});
       }},
      {"first volume too small",
       [&] {
         WriteArchiveVolumes(dir / "S.exe", 60, {"", {ArchiveEntry::FromBytes(0, 0, "x")}});
       }},
  };
  for (const auto& [name, write] : failures)
    EXPECT_THROW(write(), ArchiveWriteError) << name;
}

TEST(ArchiveWriterTest, RefusesMoreThan999Volumes) {
  ScratchFolder dir;
  // Each volume holds the entry magic, one stored piece, the end mark and a break.
  const uint64_t volume = 4 + 4 + 1000 + 12;
  std::string bytes;
  for (int i = 0; i < 1000; ++i)
    bytes += test::RandomBytes(1000, i);
  ArchiveBlockContent content{"", {}};
  for (int i = 0; i < 1000; ++i)
    content.Entries.push_back(ArchiveEntry::FromBytes(i, 0, bytes.substr(i * 1000, 1000)));
  EXPECT_THROW(WriteArchiveVolumes(dir / "S.exe", volume, content), ArchiveWriteError);
  EXPECT_TRUE(std::filesystem::exists(dir / "S.999"));
  EXPECT_FALSE(std::filesystem::exists(dir / "S.000"));
}

}  // namespace
}  // namespace kvb
