#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "setupdata/archive_reader.h"
#include "setupdata/archive_test_util.h"
#include "setupdata/archive_writer.h"

namespace kvb {
namespace {

using test::BlockBytes;
using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;

class VolumeTest : public ::testing::Test {
 protected:
  VolumeTest() {
    zip.OnBeforeFile = [this](TSetupKVBZip&, int32_t index, std::string& name, bool& extract,
                              uint32_t, uint32_t&) {
      name += "e" + std::to_string(index) + ".bin";
      extract = index != skip;
    };
    zip.OnNeedVolume = [this](TSetupKVBZip&, uint16_t number, std::string& name, bool& go_on) {
      asked.push_back(number);
      name = volume_base;
      if (asked.size() > 5)
        go_on = false;
    };
    zip.OnAfterFile = [this](TSetupKVBZip&, int32_t index, std::string&, ArchiveOutput&, uint32_t) {
      after.push_back(index);
    };
  }
  std::string Output(int32_t index) {
    return ReadFile(out / ("e" + std::to_string(index) + ".bin"));
  }

  ScratchFolder dir, out;
  TSetupKVBZip zip;
  std::string volume_base = dir / "pkg.xyz";
  int32_t skip = -1;
  std::vector<int> asked;
  std::vector<int32_t> after;
};

TEST_F(VolumeTest, VolumeSevenIsLookedUpWithExtension007) {
  WriteFile(dir / "pkg.001",
            BlockBytes(6, 1).Message("").Entry(0).Stored("abc").EndEntry().Break(7).Take());
  WriteFile(dir / "pkg.007", BlockBytes(0, 0, false).Magic().Stored("def").EndEntry().End().Take());
  ASSERT_TRUE(zip.ExtractFromFile(dir / "pkg.001", out.Dir()));
  EXPECT_EQ(Output(0), "abcdef");
  EXPECT_EQ(asked, std::vector<int>{7});
  // The entry's part in each volume is handed on; the second time the current entry is
  // the break marker.
  EXPECT_EQ(after, (std::vector<int32_t>{0, -1}));
  EXPECT_EQ(zip.FilesExtracted, 1u);
}

TEST_F(VolumeTest, MissingVolumeAsksUntilTheOwnerGivesUp) {
  WriteFile(dir / "pkg.001",
            BlockBytes(6, 1).Message("").Entry(0).Stored("abc").EndEntry().Break(2).Take());
  EXPECT_FALSE(zip.ExtractFromFile(dir / "pkg.001", out.Dir()));
  EXPECT_EQ(asked.size(), 6u);
  EXPECT_EQ(zip.ErrorCode, 0);
  zip.OnNeedVolume = nullptr;
  EXPECT_FALSE(zip.ExtractFromFile(dir / "pkg.001", out.Dir()));
}

TEST_F(VolumeTest, VolumeNumbersThatDoNotGrowAreDamage) {
  WriteFile(dir / "pkg.001",
            BlockBytes(6, 1).Message("").Entry(0).Stored("abc").EndEntry().Break(2).Take());
  WriteFile(dir / "pkg.002", BlockBytes(0, 0, false).Magic().EndEntry().Break(2).Take());
  EXPECT_THROW(zip.ExtractFromFile(dir / "pkg.001", out.Dir()), ArchiveError);
  EXPECT_FALSE(zip.IsBusy());
  EXPECT_EQ(asked, std::vector<int>{2});
}

class WrittenVolumesTest : public VolumeTest {
 protected:
  WrittenVolumesTest() {
    files = {test::TextBytes(150000),     test::RandomBytes(180000, 7), "", "tiny",
             test::RandomBytes(70000, 8), test::TextBytes(5000)};
    for (size_t i = 0; i < files.size(); ++i) {
      content.Entries.push_back(ArchiveEntry::FromBytes(int32_t(i), 0x30000000u + i, files[i]));
    }
    volume_base = dir / "Setup.exe";
  }
  std::vector<std::string> files;
  ArchiveBlockContent content{"", {}};
};

TEST_F(WrittenVolumesTest, ThreeVolumesExtractToIdenticalFiles) {
  const uint64_t size = 120000;
  const ArchiveBlockInfo info = WriteArchiveVolumes(dir / "Setup.exe", size, content);
  ASSERT_EQ(info.Volumes, 3u);
  uint64_t total = 0;
  for (int v = 1; v <= 3; ++v) {
    const std::string bytes = ReadFile(VolumeFileName(dir / "Setup.exe", v));
    EXPECT_LE(bytes.size(), size);
    if (v > 1) {
      EXPECT_EQ(bytes.substr(0, 4), "kVBZ");
    }
    total += bytes.size();
  }
  EXPECT_EQ(total, info.Size);
  EXPECT_FALSE(std::filesystem::exists(VolumeFileName(dir / "Setup.exe", 4)));

  ASSERT_TRUE(zip.ExtractFromFile(VolumeFileName(dir / "Setup.exe", 1), out.Dir()));
  EXPECT_EQ(asked, (std::vector<int>{2, 3}));
  EXPECT_EQ(zip.FilesExtracted, files.size());
  for (size_t i = 0; i < files.size(); ++i)
    EXPECT_EQ(Output(int32_t(i)), files[i]) << i;
}

TEST_F(WrittenVolumesTest, SkippedEntryAcrossABreakLeavesTheFileBeforeItAlone) {
  WriteArchiveVolumes(dir / "Setup.exe", 120000, content);
  skip = 1;  // written from volume 1 into volume 2, after entry 0 was written
  ASSERT_TRUE(zip.ExtractFromFile(VolumeFileName(dir / "Setup.exe", 1), out.Dir()));
  EXPECT_EQ(Output(0), files[0]);
  EXPECT_FALSE(std::filesystem::exists(out / "e1.bin"));
  for (size_t i = 2; i < files.size(); ++i)
    EXPECT_EQ(Output(int32_t(i)), files[i]) << i;
}

}  // namespace
}  // namespace kvb
