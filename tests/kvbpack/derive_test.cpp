// The values the builder derives and the conversions it relies on: progress spans,
// folder lists, DOS dates, the code page, file versions of PE images.
#include <gtest/gtest.h>

#include "codepage.h"
#include "dos_time.h"
#include "pack_test_util.h"
#include "pe_version.h"
#include "resolve.h"

namespace kvb::pack {
namespace {

TEST(DeriveTest, SpansShareOneHundredBySize) {
  using W = std::vector<std::optional<uint64_t>>;
  struct Case {
    W weights;
    std::vector<uint32_t> spans;
  } cases[] = {
      {{}, {}},
      {{std::nullopt}, {0}},
      {{100}, {100}},
      {{std::nullopt, 50, 50}, {0, 50, 50}},
      {{1, 1000000}, {1, 99}},  // every block with entries gets at least 1
      {{0, 10}, {10, 90}},      // empty files weigh as one byte
      {{1, 1, 1}, {34, 33, 33}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DeriveSpans(c.weights), c.spans);
  W many;
  for (uint64_t i = 0; i < 37; ++i)
    many.push_back(i % 5 == 0 ? std::nullopt : std::optional(i * i * 1000));
  uint32_t sum = 0;
  for (uint32_t span : DeriveSpans(many))
    sum += span;
  EXPECT_EQ(sum, 100u);
}

TEST(DeriveTest, FoldersBelowARootWithTheirParents) {
  EXPECT_EQ(DeriveFolders({"%InstallDir%\\", "%InstallDir%\\A\\B\\", "%installdir%\\a\\",
                           "%WinDir%\\", "C:\\X\\", "", "\\Rooted\\"}),
            (std::vector<std::string>{"%InstallDir%\\A", "%InstallDir%\\A\\B", "C:\\X"}));
}

TEST(DeriveTest, FileFoldersNameTheFolderVariablesFirst) {
  EXPECT_EQ(DeriveFileFolders({"%MyDir%\\bin\\", "%InstallDir%\\", "%mydir%\\", "%WinDir%\\",
                               "%A%%B%\\x\\", "%Half\\x\\", "C:\\X\\", "%Other%"}),
            (std::vector<std::string>{"%MyDir%\\", "%MyDir%\\bin", "%InstallDir%\\", "%WinDir%\\",
                                      "%A%%B%\\x", "%Half\\x", "C:\\X", "%Other%\\"}));
}

TEST(DeriveTest, DosDates) {
  EXPECT_EQ(PackDosTime({2003, 5, 1, 12, 30, 44}), 0x2EA1'63D6u);
  EXPECT_EQ(PackDosTime({2003, 5, 1, 12, 30, 45}), std::nullopt);  // odd second
  EXPECT_EQ(PackDosTime({2003, 2, 29, 0, 0, 0}), std::nullopt);
  EXPECT_EQ(PackDosTime({1979, 12, 31, 0, 0, 0}), std::nullopt);
  EXPECT_EQ(UnpackDosTime(0), std::nullopt);  // month 0
  EXPECT_EQ(FormatDosTime(*UnpackDosTime(0x2EA163D6)), "2003-05-01 12:30:44");
  struct Case {
    int64_t unix;
    const char* text;
  } cases[] = {
      {0, "1980-01-01 00:00:00"},
      {1700000001, "2023-11-14 22:13:20"},
      {951782400, "2000-02-29 00:00:00"},
      {int64_t{1} << 40, "2107-12-31 23:59:58"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatDosTime(*UnpackDosTime(DosTimeFromUnix(c.unix))), c.text);
  EXPECT_EQ(ParseDosTimeText("2024-01-02T03:04:06")->second, 6);
  EXPECT_EQ(ParseDosTimeText("2024-01-02")->hour, 0);
  EXPECT_EQ(ParseDosTimeText("2024-01-02 03:04"), std::nullopt);
}

TEST(DeriveTest, CodePageKeepsEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  EXPECT_EQ(AnsiToUtf8("\x80\xE9"), "\xE2\x82\xAC\xC3\xA9");
  size_t bad = 0;
  const char* refused[] = {"ab\xE4\xB8\x80", "ab\xC0\xAF", "ab\xED\xA0\x80", "ab\xC3"};
  for (const char* text : refused) {
    EXPECT_EQ(Utf8ToAnsi(text, &bad), std::nullopt) << text;
    EXPECT_EQ(bad, 2u);
  }
}

// A 64-bit image with one resource section holding a version resource at
// type 16 / name 1 / language 0x409, built byte by byte.
std::string Pe64WithVersion(uint32_t ms, uint32_t ls, uint32_t data_rva_shift = 0) {
  std::string pe(0x200, '\0');
  auto put16 = [&pe](size_t at, uint16_t v) {
    pe.replace(at, 2, reinterpret_cast<const char*>(&v), 2);
  };
  auto put32 = [&pe](size_t at, uint32_t v) {
    pe.replace(at, 4, reinterpret_cast<const char*>(&v), 4);
  };
  pe[0] = 'M';
  pe[1] = 'Z';
  put32(0x3C, 0x40);
  pe.replace(0x40, 4, std::string("PE\0\0", 4));
  put16(0x46, 1);    // one section
  put16(0x54, 240);  // optional header size
  const size_t opt = 0x58;
  put16(opt, 0x20B);              // PE32+
  put32(opt + 108, 16);           // data directories
  put32(opt + 112 + 16, 0x1000);  // resource directory
  put32(opt + 112 + 20, 0x100);
  const size_t section = opt + 240;
  pe.replace(section, 5, ".rsrc");
  put32(section + 8, 0x100);    // virtual size
  put32(section + 12, 0x1000);  // virtual address
  put32(section + 16, 0x100);   // raw size
  put32(section + 20, 0x200);   // raw offset
  std::string rsrc(0x100, '\0');
  auto r16 = [&rsrc](size_t at, uint16_t v) {
    rsrc.replace(at, 2, reinterpret_cast<const char*>(&v), 2);
  };
  auto r32 = [&rsrc](size_t at, uint32_t v) {
    rsrc.replace(at, 4, reinterpret_cast<const char*>(&v), 4);
  };
  const uint32_t dirs[3][2] = {{16, 0x80000018}, {1, 0x80000030}, {0x409, 0x48}};
  for (int level = 0; level < 3; ++level) {
    const size_t at = level * 0x18;
    r16(at + 14, 1);
    r32(at + 16, dirs[level][0]);
    r32(at + 20, dirs[level][1]);
  }
  r32(0x48, 0x1058 + data_rva_shift);
  r32(0x4C, 92);
  r16(0x58, 92);
  r16(0x5A, 52);
  const char16_t key[] = u"VS_VERSION_INFO";
  rsrc.replace(0x5E, sizeof key, reinterpret_cast<const char*>(key), sizeof key);
  r32(0x58 + 40, 0xFEEF04BD);
  r32(0x58 + 44, 0x10000);
  r32(0x58 + 48, ms);
  r32(0x58 + 52, ls);
  return pe + rsrc;
}

TEST(DeriveTest, VersionsOfPeImages) {
  MemorySource pe64(Pe64WithVersion(0x00050006, 0x00070008));
  EXPECT_EQ(ReadPeFileVersion(pe64), (FileVersion{0x00050006, 0x00070008}));
  MemorySource outside(Pe64WithVersion(1, 2, 0x10000));  // data beyond every section
  EXPECT_EQ(ReadPeFileVersion(outside), std::nullopt);

  const std::string exe =
      test::ReadFile(std::string(KVB_SOURCE_DIR) + "/examples/sample/files/samplepad.exe");
  MemorySource source(exe);
  EXPECT_EQ(ReadPeFileVersion(source), (FileVersion{0x00010002, 0x00000007}));
  MemorySource text("MZ but not a program");
  EXPECT_EQ(ReadPeFileVersion(text), std::nullopt);
  // Every cut of the image fails cleanly or still finds the version.
  for (size_t size = 0; size < exe.size(); size += 97) {
    MemorySource cut(exe.substr(0, size));
    const std::optional<FileVersion> v = ReadPeFileVersion(cut);
    if (v) {
      EXPECT_EQ(*v, (FileVersion{0x00010002, 0x00000007}));
    }
  }
}

}  // namespace
}  // namespace kvb::pack
