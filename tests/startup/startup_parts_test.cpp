// The pieces behind the start-up windows and the temporary files: positions, the loader's
// font, the folder names, and which pass extracts which temporary file.
#include <gtest/gtest.h>

#include "setupdata/package_reader.h"
#include "startup/fake_startup_host.h"
#include "startup/startup_layout.h"
#include "startup/temp_file_extractor.h"
#include "startup/temp_folder.h"
#include "startup/test_package.h"

namespace kvb::test {
namespace {

TEST(StartupLayoutTest, Positions) {
  const ScreenSize screen{1024, 768};
  EXPECT_EQ(LoaderOrigin(screen, false), (ScreenPoint{362, 329}));
  EXPECT_EQ(LoaderOrigin(screen, true), (ScreenPoint{692, 610}));
  // Halves are rounded down separately, as integer division does.
  EXPECT_EQ(CentredOrigin({801, 601}, 241, 91), (ScreenPoint{400 - 120, 300 - 45}));
  // A window larger than the screen starts left of and above it.
  EXPECT_EQ(CentredOrigin({640, 480}, 800, 600), (ScreenPoint{-80, -60}));
}

TEST(StartupLayoutTest, LoaderFont) {
  const TFontRecord package{"Verdana", 14, 0x000000FF, 2 | 4 | 8, 204};
  EXPECT_EQ(LoaderFont(package, false), (TFontRecord{"Verdana", 8, 0x00FFFFFF, 1, 204}));
  EXPECT_EQ(LoaderFont(package, true), (TFontRecord{"", 8, 0x00FFFFFF, 1, 1}));
}

TEST(StartupLayoutTest, TempFolderCandidates) {
  const std::pair<int, const char*> cases[] = {{1, "C:\\T\\kvb001"},
                                               {42, "C:\\T\\kvb042"},
                                               {999, "C:\\T\\kvb999"},
                                               {1000, "C:\\T\\kvb1000"},
                                               {kMaxTempFolderCandidates, "C:\\T\\kvb9999"}};
  for (const auto& [number, expected] : cases)
    EXPECT_EQ(TempFolderCandidate("C:\\T", number), expected);
  EXPECT_EQ(TempFolderCandidate("C:\\T\\", 7), "C:\\T\\kvb007");
}

struct PassCase {
  const char* name;
  std::vector<TempFileSpec> files;
  std::string splash;
  std::vector<std::string> first_pass;   // files written by the first pass
  std::vector<std::string> second_pass;  // and by the second
};

TEST(TempFileExtractorTest, PassesSplitTheFiles) {
  const std::string dir = "C:\\Temp\\kvb001\\";
  const PassCase cases[] = {
      {"splash first, case-insensitive",
       {{"a.txt", "a"}, {"Splash.Bmp", "BM"}, {"b.txt", "b"}},
       "SPLASH.BMP",
       {dir + "Splash.Bmp"},
       {dir + "a.txt", dir + "b.txt"}},
      {"no splash named: all in the second pass",
       {{"a.txt", "a"}, {"splash.bmp", "BM"}},
       "",
       {},
       {dir + "a.txt", dir + "splash.bmp"}},
      {"entry without record, and a record naming no file",
       {{"a.txt", "a", "%TempSetupDir%\\", 7}, {"dir\\", "x"}, {"c.txt", "c"}},
       "",
       {},
       {dir + "c.txt"}},
      {"the first record of an index wins",
       {{"one.txt", "1", "%TempSetupDir%\\", 0}, {"two.txt", "2", "%TempSetupDir%\\", 0}},
       "",
       {},
       {dir + "one.txt"}},
      {"the source's folder is dropped, the destination expanded",
       {{"..\\..\\x.txt", "x", "%TempSetupDir%\\%SoftwareName%"}},
       "",
       {},
       {dir + "Demo\\x.txt"}},
  };
  for (const PassCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestPackage package;
    package.temp_files = c.files;
    const std::string bytes = package.Bytes();
    MemorySource source(bytes);
    const TSetupPackage read = ReadPackage(source);
    FakeStartupHost host(std::nullopt);
    Variables vars;
    vars.SoftwareName = "Demo";
    vars.TempSetupDir = "C:\\Temp\\kvb001";
    std::vector<std::string> list;
    TTempFileExtractor extractor(vars, read.Data.TempFiles, list, c.splash,
                                 host.CreateArchiveFiles());
    extractor.ExtractTempFiles(source, read.Header, TempFilePass::kSplashOnly);
    std::vector<std::string> written;
    for (const std::string& line : host.LogLines("write "))
      written.push_back(line.substr(6));
    EXPECT_EQ(written, c.first_pass);
    EXPECT_EQ(list, c.first_pass);
    host.log.clear();
    list.clear();
    extractor.ExtractTempFiles(source, read.Header, TempFilePass::kOtherFiles);
    written.clear();
    for (const std::string& line : host.LogLines("write "))
      written.push_back(line.substr(6));
    EXPECT_EQ(written, c.second_pass);
    EXPECT_EQ(list, c.second_pass);
  }
}

TEST(TempFileExtractorTest, NoArchiveExtractsNothing) {
  TestPackage package;
  package.temp_section = std::string(1, '\0');
  const std::string bytes = package.Bytes();
  MemorySource source(bytes);
  const TSetupPackage read = ReadPackage(source);
  FakeStartupHost host(std::nullopt);
  Variables vars;
  std::vector<std::string> list;
  TTempFileExtractor extractor(vars, read.Data.TempFiles, list, "", host.CreateArchiveFiles());
  extractor.ExtractTempFiles(source, read.Header, TempFilePass::kOtherFiles);
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(host.log.empty());
}

}  // namespace
}  // namespace kvb::test
