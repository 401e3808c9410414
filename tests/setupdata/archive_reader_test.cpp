#include "setupdata/archive_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "setupdata/archive_test_util.h"
#include "setupdata/archive_writer.h"

namespace kvb {
namespace {

using test::BlockBytes;
using test::ReadFile;
using test::ScratchFolder;

// A reader whose events write entry N to "eN.bin" in a scratch folder and record what
// they saw.
class ReaderTest : public ::testing::Test {
 protected:
  ReaderTest() {
    zip.OnBeforeFile = [this](TSetupKVBZip&, int32_t index, std::string& name, bool& extract,
                              uint32_t date, uint32_t& tag) {
      name += "e" + std::to_string(index) + ".bin";
      extract = !skip.count(index);
      dates.push_back(date);
      tag = static_cast<uint32_t>(index) + 100;
    };
    zip.OnAfterFile = [this](TSetupKVBZip&, int32_t index, std::string&, ArchiveOutput&,
                             uint32_t tag) { after.emplace_back(index, tag); };
    zip.OnProgress = [this](TSetupKVBZip&, int32_t index, uint8_t position, bool&) {
      progress.emplace_back(index, position);
    };
    zip.OnMessage = [this](TSetupKVBZip&, const std::string& text) { messages.push_back(text); };
    zip.OnArchiveError = [this](TSetupKVBZip&, int32_t code) { errors.push_back(code); };
  }

  bool Extract(const std::string& block) {
    MemorySource source(block);
    ArchiveStream stream(source);
    return zip.Extract(stream, dir.Dir());
  }
  std::string Output(int32_t index) {
    return ReadFile(dir / ("e" + std::to_string(index) + ".bin"));
  }
  bool HasOutput(int32_t index) {
    return std::filesystem::exists(dir / ("e" + std::to_string(index) + ".bin"));
  }

  ScratchFolder dir;
  TSetupKVBZip zip;
  std::set<int32_t> skip;
  std::vector<uint32_t> dates;
  std::vector<std::pair<int32_t, uint32_t>> after;
  std::vector<std::pair<int32_t, int>> progress;
  std::vector<std::string> messages;
  std::vector<int32_t> errors;
};

std::string Written(const ArchiveBlockContent& content, ArchiveBlockInfo* info = nullptr) {
  std::ostringstream out;
  const ArchiveBlockInfo i = WriteArchiveBlock(out, content);
  if (info)
    *info = i;
  return out.str();
}

TEST_F(ReaderTest, SingleChunkBlockEndsWithHundredAtEntryMinusTwo) {
  const std::string data = test::TextBytes(1000);
  ASSERT_TRUE(Extract(Written({"", {ArchiveEntry::FromBytes(2, 0x2A4C6B8Du, data)}})));
  EXPECT_EQ(Output(2), data);
  EXPECT_EQ(messages, std::vector<std::string>{""});
  EXPECT_EQ(dates, std::vector<uint32_t>{0x2A4C6B8Du});
  EXPECT_EQ(after, (std::vector<std::pair<int32_t, uint32_t>>{{2, 102}}));
  EXPECT_EQ(progress, (std::vector<std::pair<int32_t, int>>{{2, 100}, {-2, 100}}));
  EXPECT_EQ(zip.FilesExtracted, 1u);
  EXPECT_EQ(zip.TotalSize, 1000u);
  EXPECT_EQ(zip.FileCount, 1u);
  EXPECT_EQ(zip.CurrentEntry, -2);
  EXPECT_FALSE(zip.IsBusy());
  // 0x2A4C6B8D: 12 February 2001, 13:28:26 local time.
  const auto written = std::filesystem::last_write_time(dir / "e2.bin");
  const std::time_t t =
      std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
  const std::tm local = *std::localtime(&t);
  EXPECT_EQ(std::vector<int>({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                              local.tm_min, local.tm_sec}),
            std::vector<int>({2001, 2, 12, 13, 28, 26}));
}

TEST_F(ReaderTest, EntriesKeepTheirExactLengths) {
  // Empty, tiny (a 4-byte piece is compressed), around the piece size, several pieces
  // with a short last one, compressible and not.
  const std::vector<std::string> files = {"",
                                          "a",
                                          "abcd",
                                          test::RandomBytes(4, 1),
                                          test::TextBytes(65535),
                                          test::RandomBytes(65536, 2),
                                          test::TextBytes(65537),
                                          test::RandomBytes(3 * 65536 + 5, 3)};
  ArchiveBlockContent content{"main", {}};
  for (size_t i = 0; i < files.size(); ++i)
    content.Entries.push_back(ArchiveEntry::FromBytes(int32_t(i), 0, files[i]));
  ArchiveBlockInfo info;
  ASSERT_TRUE(Extract(Written(content, &info)));
  EXPECT_GT(info.StoredChunks, 0u);
  for (size_t i = 0; i < files.size(); ++i)
    EXPECT_EQ(Output(int32_t(i)), files[i]) << i;
  EXPECT_EQ(zip.FilesExtracted, files.size());
  EXPECT_EQ(zip.BytesDone, info.TotalSize);
}

TEST_F(ReaderTest, StoredAndEmptyChunksAreCopiedAsTheyAre) {
  const std::string raw = test::RandomBytes(300, 4);
  // Header 0 is an empty chunk; -1..-3 are stored chunks of 1..3 bytes.
  ASSERT_TRUE(Extract(BlockBytes(303, 1)
                          .Message("")
                          .Entry(0)
                          .Stored(raw)
                          .I32(0)
                          .Stored("xyz")
                          .EndEntry()
                          .End()
                          .Take()));
  EXPECT_EQ(Output(0), raw + "xyz");
}

TEST_F(ReaderTest, ChunksThatDoNotInflateStopWithErrorCodeTwo) {
  const std::string full = test::TextBytes(65536);
  std::string corrupt = test::Zlib(full);
  corrupt[corrupt.size() / 2] ^= 0x55;
  std::string bad_check = test::Zlib(full);
  bad_check.back() ^= 1;
  const std::vector<std::string> cases = {test::Zlib(full + "!"), corrupt, bad_check,
                                          test::Zlib(full).substr(0, 100)};
  for (const std::string& chunk : cases) {
    after.clear();
    errors.clear();
    const std::string block = BlockBytes(70000, 2)
                                  .Message("")
                                  .Entry(0)
                                  .Compressed(test::Zlib("ok"))
                                  .Compressed(chunk)
                                  .EndEntry()
                                  .Entry(1)
                                  .Stored("x")
                                  .EndEntry()
                                  .End()
                                  .Take();
    EXPECT_FALSE(Extract(block));
    EXPECT_EQ(zip.ErrorCode, 2);
    EXPECT_EQ(errors, std::vector<int32_t>{2});
    // The partly written file is handed on like a complete one; nothing after it runs.
    EXPECT_EQ(Output(0), "ok");
    EXPECT_EQ(after.size(), 1u);
    EXPECT_EQ(zip.FilesExtracted, 1u);
    EXPECT_FALSE(HasOutput(1));
  }
}

TEST_F(ReaderTest, SkippingReadsToTheEndAndCountsWholePieces) {
  skip = {0, 1};
  ArchiveBlockInfo info;
  const std::string block = Written({"",
                                     {ArchiveEntry::FromBytes(0, 0, test::TextBytes(100000)),
                                      ArchiveEntry::FromBytes(1, 0, test::RandomBytes(10, 5))}},
                                    &info);
  ASSERT_TRUE(Extract(block));
  EXPECT_EQ(zip.BytesDone, 3u * 65536);
  EXPECT_EQ(zip.CurrentEntry, -2);
  EXPECT_EQ(zip.FilesExtracted, 0u);
  EXPECT_FALSE(HasOutput(0));
  EXPECT_EQ(progress.back(), (std::pair<int32_t, int>{-2, 100}));
}

// A skipped chunk counts a whole piece, so the percentage of a block of small skipped
// entries runs far beyond 100: it is reported as 100, never wrapped to its low 8 bits.
TEST_F(ReaderTest, SkippedEntriesNeverMakePlainPercentagesWrap) {
  ArchiveBlockContent content;
  for (int32_t i = 0; i < 300; ++i) {
    skip.insert(i);
    content.Entries.push_back(ArchiveEntry::FromBytes(i, 0, "x"));
  }
  ASSERT_TRUE(Extract(Written(content)));
  ASSERT_EQ(progress.size(), 301u);
  for (const auto& [entry, position] : progress)
    EXPECT_EQ(position, 100) << entry;
}

// With a span the block takes its share of a wider scale: round(span * scale / 100 *
// percent) + base, at most the limit; the end of the block reports the block's end.
TEST_F(ReaderTest, ProgressOnTheOwnersScale) {
  zip.ProgressBase = 10;
  zip.ProgressMax = 55;
  zip.ProgressSpan = 50;
  zip.ProgressScale = 1.0;
  ASSERT_TRUE(Extract(Written({"", {ArchiveEntry::FromBytes(4, 0, test::TextBytes(3 * 65536))}})));
  // 33 % gives 16.5 and 67 % gives 33.5, both rounded to the even neighbour.
  EXPECT_EQ(progress, (std::vector<std::pair<int32_t, int>>{{4, 26}, {4, 44}, {4, 55}, {-2, 55}}));
  progress.clear();
  zip.ProgressMax = 200;
  ASSERT_TRUE(Extract(Written({"", {ArchiveEntry::FromBytes(4, 0, test::TextBytes(65536))}})));
  EXPECT_EQ(progress, (std::vector<std::pair<int32_t, int>>{{4, 60}, {-2, 60}}));
}

TEST_F(ReaderTest, CancelStopsAfterTheCurrentChunk) {
  int chunks = 0;
  zip.ProcessMessages = [&] {
    if (++chunks == 1)
      zip.Cancel();
  };
  EXPECT_FALSE(Extract(Written({"", {ArchiveEntry::FromBytes(0, 0, test::TextBytes(200000))}})));
  EXPECT_EQ(chunks, 1);
  EXPECT_EQ(zip.ErrorCode, 0);
  EXPECT_EQ(Output(0).size(), 65536u);
  // A cancelled reader can be used again.
  zip.ProcessMessages = nullptr;
  EXPECT_TRUE(Extract(Written({"", {ArchiveEntry::FromBytes(0, 0, "again")}})));
}

// Damaged blocks end the extraction: ErrorCode 1 while an entry is written, a raised
// error elsewhere; never a crash, a hang or a huge allocation.
TEST_F(ReaderTest, DamagedBlocksEndWithAnError) {
  const auto head = [] { return BlockBytes(10, 1).Message(""); };
  struct Case {
    const char* name;
    std::string block;
    bool skipped;
    const char* raised;  // nullptr: ErrorCode 1
  };
  const std::vector<Case> cases = {
      {"no header", std::string("\x12\0\0\0Kalv", 8), false, kArchiveUnreadable},
      {"huge signature", BlockBytes(0, 0, false).I32(0x7FFFFFFF).Take(), false, kArchiveUnreadable},
      {"chunk past end", head().Entry(0).I32(5000).Take(), false, nullptr},
      {"chunk past end skipped", head().Entry(0).I32(5000).Take(), true, kArchiveUnreadable},
      {"huge stored chunk", head().Entry(0).I32(INT32_MIN).Take(), false, nullptr},
      {"stored chunk over a piece",
       head().Entry(0).Stored(std::string(65537, 'x')).EndEntry().End().Take(), true,
       kArchiveUnreadable},
      {"compressed chunk over the limit",
       head().Entry(0).I32(200000).Take() + std::string(200000, 'x'), false, nullptr},
      {"wrong magic", head().I32(0).I32(0).I32(0x5A42566B + 1).Take(), false, nullptr},
      {"wrong magic skipped", head().I32(0).I32(0).I32(0).Take(), true, kArchiveWrongType},
      {"marker below -3", head().I32(-5).Take(), false, kArchiveUnreadable},
      {"marker -4", head().I32(-4).Take(), false, kArchiveUnreadable},
      {"no end of block", head().Take(), false, kArchiveUnreadable},
      {"message past end", BlockBytes(0, 0).I32(-3).I32(1000).Take(), false, kArchiveUnreadable},
      {"volume 0", head().Entry(0).EndEntry().Break(0).Take(), false, kArchiveUnreadable},
      {"volume 1000", head().Entry(0).EndEntry().Break(1000).Take(), false, kArchiveUnreadable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    skip.clear();
    if (c.skipped)
      skip.insert(0);
    if (c.raised) {
      try {
        Extract(c.block);
        ADD_FAILURE() << "no error raised";
      } catch (const ArchiveError& e) {
        EXPECT_STREQ(e.what(), c.raised);
      }
    } else {
      EXPECT_FALSE(Extract(c.block));
      EXPECT_EQ(zip.ErrorCode, 1);
    }
    EXPECT_FALSE(zip.IsBusy());
  }
}

// Files that fail underneath the reader: creation, a write, the reopening of a
// continued entry.
class FailingFiles final : public ArchiveFiles {
 public:
  explicit FailingFiles(int fail_write_after) : fail_write_after_(fail_write_after) {}
  bool Exists(const std::string& path) override { return real_->Exists(path); }
  bool Delete(const std::string& path) override { return real_->Delete(path); }
  bool ForceDirectories(const std::string& f) override { return real_->ForceDirectories(f); }
  std::unique_ptr<ByteSource> OpenVolume(const std::string& p) override {
    return real_->OpenVolume(p);
  }
  std::unique_ptr<ArchiveOutput> Create(const std::string& path) override {
    if (fail_write_after_ < 0)
      return nullptr;
    return std::make_unique<Output>(real_->Create(path), fail_write_after_);
  }
  std::unique_ptr<ArchiveOutput> Append(const std::string&) override { return nullptr; }

 private:
  class Output final : public ArchiveOutput {
   public:
    Output(std::unique_ptr<ArchiveOutput> real, int writes)
        : real_(std::move(real)), writes_(writes) {}
    void Write(const void* data, size_t size) override {
      if (writes_-- == 0)
        throw ArchiveOutputError("disk full");
      real_->Write(data, size);
    }
    void SetDosDate(uint32_t date) override { real_->SetDosDate(date); }

   private:
    std::unique_ptr<ArchiveOutput> real_;
    int writes_;
  };
  std::unique_ptr<ArchiveFiles> real_ = MakePlatformArchiveFiles();
  int fail_write_after_;
};

TEST_F(ReaderTest, TargetsThatCannotBeWrittenSetErrorCodeOne) {
  const std::string block = Written({"",
                                     {ArchiveEntry::FromBytes(0, 0, test::TextBytes(200000)),
                                      ArchiveEntry::FromBytes(1, 0, "one")}});
  for (int fail_after : {-1, 0, 2}) {
    SCOPED_TRACE(fail_after);
    zip.SetFiles(std::make_unique<FailingFiles>(fail_after));
    after.clear();
    EXPECT_FALSE(Extract(block));
    EXPECT_EQ(zip.ErrorCode, 1);
    EXPECT_TRUE(after.empty());
    EXPECT_EQ(zip.FilesExtracted, 0u);
    EXPECT_FALSE(HasOutput(1));
  }
}

}  // namespace
}  // namespace kvb
