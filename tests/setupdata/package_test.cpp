#include <gtest/gtest.h>

#include <filesystem>

#include "sample_package.h"
#include "setupdata/byte_reader.h"
#include "setupdata/package_reader.h"
#include "setupdata/package_writer.h"
#include "setupdata/section_reader.h"
#include "setupdata/section_writer.h"

namespace kvb {
namespace {

const std::string kTempSection = std::string("\x01", 1) + "temporary block";
const std::string kMainSection = "main block|component block";

std::string U32Bytes(uint32_t v) {
  ByteWriter w;
  w.U32(v);
  return w.Take();
}

void PutU32(std::string& bytes, uint64_t offset, uint32_t v) {
  bytes.replace(static_cast<size_t>(offset), 4, U32Bytes(v));
}

TSetupPackage Read(const std::string& bytes) {
  MemorySource source(bytes);
  return ReadPackage(source);
}

std::string Rewrite(const std::string& bytes) {
  MemorySource source(bytes);
  const TSetupPackage package = ReadPackage(source);
  RangeSource stub(source, 0, package.Header.Trailer.HeaderOffset);
  RangeSource temp(source, package.TempSection.Begin, package.TempSection.Size());
  RangeSource main(source, package.MainSection.Begin, package.MainSection.Size());
  StringSink sink;
  WritePackage(sink, &stub, package.Data,
               {&temp, &main, package.Header.Trailer.MainArchiveOffset <= 0});
  return sink.Take();
}

TEST(PackageTest, EverySectionReadsBackFieldForField) {
  const TSetupData data = sample::SampleData();
  const std::string bytes = sample::PackageBytes(data, kTempSection, kMainSection);
  const TSetupPackage package = Read(bytes);
  EXPECT_EQ(package.Data, data);

  const TSetupHeader& h = package.Header;
  EXPECT_EQ(h.Trailer.HeaderOffset, sample::SampleStub().size());
  EXPECT_EQ(h.SectionOffsets[0], h.Trailer.HeaderOffset + 72);
  EXPECT_EQ(h.Trailer.Magic, kSetupMagic);
  EXPECT_EQ(h.StartupOptions, data.StartupOptions);
  EXPECT_EQ(bytes.substr(h.SectionOffsets[15], h.SectionOffsets[16] - h.SectionOffsets[15]),
            kTempSection);
  EXPECT_EQ(bytes.substr(h.SectionOffsets[16], h.SectionOffsets[17] - h.SectionOffsets[16]),
            kMainSection);
  EXPECT_EQ(package.Archives.HasArchive, 1);
  EXPECT_EQ(package.Archives.TempArchiveOffset, h.SectionOffsets[15] + 1);
  EXPECT_TRUE(package.Archives.MainArchiveInFile);
  EXPECT_EQ(package.Archives.MainArchiveOffset, h.SectionOffsets[16]);
  EXPECT_EQ(static_cast<int64_t>(h.Trailer.MainArchiveOffset), h.SectionOffsets[16]);
}

TEST(PackageTest, RewritingGivesIdenticalBytes) {
  const TSetupData data = sample::SampleData();
  const std::string variants[] = {
      sample::PackageBytes(data, kTempSection, kMainSection),
      sample::PackageBytes(data, "", "", true),
      sample::PackageBytes(data, "", "component blocks only", true),
      sample::PackageBytes(TSetupData{}),
  };
  for (const std::string& bytes : variants)
    EXPECT_EQ(Rewrite(bytes), bytes);
}

TEST(PackageTest, NoTemporaryFilesIsOneByteAndVolumesGiveOffsetZero) {
  const std::string bytes = sample::PackageBytes(sample::SampleData(), "", "", true);
  const TSetupPackage package = Read(bytes);
  const TSetupHeader& h = package.Header;
  EXPECT_EQ(h.SectionOffsets[16] - h.SectionOffsets[15], 1u);
  EXPECT_EQ(bytes[h.SectionOffsets[15]], '\0');
  EXPECT_EQ(h.SectionOffsets[17], h.SectionOffsets[16]);
  EXPECT_EQ(package.Archives.HasArchive, 0);
  EXPECT_EQ(h.Trailer.MainArchiveOffset, 0);
  EXPECT_FALSE(package.Archives.MainArchiveInFile);
  EXPECT_EQ(package.MainSection.Size(), 0u);
}

// The builder's flow: lay out, place a component block behind the main block inside
// section 16, store its offset, write.
TEST(PackageTest, LayoutTellsTheBuilderWhereSectionSixteenStarts) {
  TSetupData data = sample::SampleData();
  const std::string main_block = "MAIN";
  const std::string component_block = "COMPONENT";
  const TPackageLayout layout =
      ComputePackageLayout(data, sample::SampleStub().size(), kTempSection.size(),
                           main_block.size() + component_block.size());
  data.Components[1].ArchiveOffset =
      static_cast<uint32_t>(layout.SectionOffsets[16] + main_block.size());
  const std::string bytes = sample::PackageBytes(data, kTempSection, main_block + component_block);
  const TSetupPackage package = Read(bytes);
  for (int i = 0; i < kSectionCount; ++i)
    EXPECT_EQ(package.Header.SectionOffsets[i], layout.SectionOffsets[i]);
  EXPECT_EQ(layout.HeaderOffset, package.Header.Trailer.HeaderOffset);
  EXPECT_EQ(layout.FileSize, bytes.size());
  EXPECT_EQ(bytes.substr(package.Data.Components[1].ArchiveOffset, component_block.size()),
            component_block);
}

// Whatever the size of the image in front, the file ends on 8 bytes: zeros close
// section 17, and its records read as before.
TEST(PackageTest, FilesEndOnEightBytes) {
  const TSetupData data = sample::SampleData();
  for (size_t stub_size = 0; stub_size < 8; ++stub_size) {
    MemorySource stub(std::string(stub_size, 'S'));
    StringSink sink;
    WritePackage(sink, &stub, data, {});
    const std::string bytes = sink.Take();
    SCOPED_TRACE(stub_size);
    EXPECT_EQ(bytes.size() % 8, 0u);
    const TSetupPackage package = Read(bytes);
    EXPECT_EQ(package.Data, data);
    const std::string section17 = WriteSection(kSectionPlatforms, data);
    const uint64_t padding =
        bytes.size() - 12 - package.Header.SectionOffsets[17] - section17.size();
    EXPECT_LT(padding, 8u);
    EXPECT_EQ(bytes.substr(bytes.size() - 12 - padding, padding), std::string(padding, '\0'));
  }
}

TEST(PackageTest, SectionsMayLieAnywhere) {
  const TSetupData data = sample::SampleData();
  std::string bytes = sample::SampleStub();
  std::array<uint32_t, kSectionCount> offsets{};
  // Reverse order, a gap in front of every section, the header behind them all.
  for (int i = kSectionCount - 1; i >= 0; --i) {
    bytes += "gap";
    offsets[i] = static_cast<uint32_t>(bytes.size());
    if (i == kSectionTempArchive) {
      bytes += std::string(1, '\0');
    } else if (i != kSectionMainArchive) {
      bytes += WriteSection(i, data);
    }
  }
  const uint32_t header_offset = static_cast<uint32_t>(bytes.size());
  for (uint32_t offset : offsets)
    bytes += U32Bytes(offset);
  bytes += U32Bytes(header_offset) + U32Bytes(0) + U32Bytes(kSetupMagic);
  const TSetupPackage package = Read(bytes);
  EXPECT_EQ(package.Data, data);
  EXPECT_EQ(package.TempSection.Size(), 1u + 3);  // up to the next section's gap
}

TEST(PackageTest, SectionOffsetOutsideTheFileNamesTheSection) {
  const std::string bytes = sample::PackageBytes(sample::SampleData());
  MemorySource source(bytes);
  const TSetupHeader header = ReadSetupHeader(source);
  for (int index : kStartupSectionOrder) {
    for (uint32_t offset : {static_cast<uint32_t>(bytes.size()), 0xFFFFFFFFu}) {
      TSetupHeader damaged = header;
      damaged.SectionOffsets[index] = offset;
      TSetupData data;
      try {
        LoadSection(index, source, damaged, data);
        ADD_FAILURE() << "section " << index << " read from outside the file";
      } catch (const FormatError& e) {
        EXPECT_NE(std::string(e.what()).find("section " + std::to_string(index) + " ("),
                  std::string::npos)
            << e.what();
      }
    }
  }
}

// Where a count sits inside its section.
struct CountCase {
  int section;
  uint64_t offset;
};

TEST(PackageTest, ImpossibleCountsAreDamageNotAllocations) {
  const CountCase cases[] = {{1, 0},  {4, 0},  {5, 0},  {6, 12}, {7, 0},  {8, 0}, {9, 0},
                             {10, 0}, {11, 0}, {12, 0}, {13, 0}, {14, 0}, {17, 0}};
  const std::string bytes = sample::PackageBytes(sample::SampleData());
  const TSetupHeader header = Read(bytes).Header;
  for (const CountCase& c : cases) {
    for (uint32_t count : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x01000000u}) {
      std::string damaged = bytes;
      PutU32(damaged, header.SectionOffsets[c.section] + c.offset, count);
      MemorySource source(damaged);
      TSetupData data;
      try {
        LoadSection(c.section, source, header, data);
        ADD_FAILURE() << "section " << c.section << " took count " << count;
      } catch (const FormatError& e) {
        EXPECT_NE(std::string(e.what()).find("section " + std::to_string(c.section)),
                  std::string::npos);
      }
    }
  }
}

// Cut inside every section: the loader either reports damage or reads what is there;
// it never reads past the end, crashes or allocates without bound.
TEST(PackageTest, TruncatedSectionsAreDamage) {
  const std::string bytes = sample::PackageBytes(sample::SampleData(), kTempSection, kMainSection);
  const TSetupHeader header = Read(bytes).Header;
  for (int index : kStartupSectionOrder) {
    const TSectionRange range = SectionRange(header, index, bytes.size());
    const uint64_t step = std::max<uint64_t>(1, range.Size() / 400);
    int failures = 0;
    for (uint64_t cut = range.Begin; cut < range.End; cut += step) {
      MemorySource prefix(bytes.substr(0, cut));
      TSetupData data;
      try {
        LoadSection(index, prefix, header, data);
      } catch (const FormatError&) {
        ++failures;
      }
    }
    EXPECT_GT(failures, 0) << "section " << index;
  }
  for (size_t cut = 0; cut < bytes.size(); cut += 97) {
    EXPECT_THROW(Read(bytes.substr(0, cut)), FormatError) << cut;
  }
}

TEST(PackageTest, ZeroLanguagesStoreOneTableOfSixtyNineTexts) {
  TSetupData data;
  for (int i = 0; i < kMessageCount; ++i)
    data.LanguageLessMessages.Texts[i] = std::to_string(i);
  std::string expected = U32Bytes(0);
  for (int i = 0; i < kMessageCount; ++i)
    expected += std::to_string(i) + '\0';
  EXPECT_EQ(WriteSection(kSectionMessages, data), expected);
  const TSetupData read = Read(sample::PackageBytes(data)).Data;
  EXPECT_TRUE(read.Languages.empty());
  EXPECT_EQ(read.LanguageLessMessages, data.LanguageLessMessages);
  EXPECT_EQ(read.LanguageLessMessages.LanguageId, -1);
}

TEST(PackageTest, HeaderReadFailsWithoutAppendedData) {
  std::string wrong_magic = sample::PackageBytes(TSetupData{});
  PutU32(wrong_magic, wrong_magic.size() - 4, 0x12345678);
  const std::pair<std::string, bool> cases[] = {
      {"", false},
      {"short", false},
      {std::string(11, 'x') + U32Bytes(8) + U32Bytes(0) + U32Bytes(kSetupMagic), false},
      {wrong_magic, true},
  };
  for (const auto& [bytes, readable] : cases) {
    MemorySource source(bytes);
    TSetupHeader header;
    EXPECT_EQ(ReadSetupData(source, header), readable);
    EXPECT_THROW(ReadPackage(source), FormatError);
  }
}

TEST(PackageTest, WritesToAFile) {
  const std::string expected = sample::PackageBytes(sample::SampleData(), kTempSection);
  const std::string path =
      (std::filesystem::temp_directory_path() / "kvb_package_test.bin").string();
  {
    MemorySource stub(sample::SampleStub());
    MemorySource temp(kTempSection);
    MemorySource main("");
    FileSink sink(path);
    WritePackage(sink, &stub, sample::SampleData(), {&temp, &main, false});
    sink.Close();
  }
  std::unique_ptr<ByteSource> file = OpenFileSource(path);
  ASSERT_TRUE(file);
  std::string written(static_cast<size_t>(file->Size()), '\0');
  EXPECT_EQ(file->ReadAt(0, written.data(), written.size()), written.size());
  file.reset();
  std::filesystem::remove(path);
  EXPECT_EQ(written, expected);
}

}  // namespace
}  // namespace kvb
