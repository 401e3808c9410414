// Build, dump, build again: the second package equals the first, for the examples, for
// a project that uses every feature, in volume files, and for a package written by the
// format library directly.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "build.h"
#include "dump.h"
#include "pack_test_util.h"
#include "project_reader.h"
#include "setupdata/archive_format.h"
#include "setupdata/archive_writer.h"
#include "setupdata/package_reader.h"
#include "setupdata/package_writer.h"
#include "setupdata/sample_package.h"

namespace kvb::pack {
namespace {

using test::Scratch;

const std::string kSource = KVB_SOURCE_DIR;

BuildResult Build(const std::string& project,
                  const std::string& output,
                  const Scratch& dir,
                  BuildOptions options = {}) {
  test::WriteFile(dir / "stub.exe", "MZ a stand-in for the setup program");
  test::WriteFile(dir / "kvbuninst.exe", "MZ a stand-in for the uninstaller");
  options.output = output;
  if (options.default_uninstaller.empty())
    options.default_uninstaller = dir / "kvbuninst.exe";
  if (options.stub.empty())
    options.stub = dir / "stub.exe";
  return BuildPackage(ReadProject(project), options);
}

// Dumps `package` and builds the dump; expects the same bytes, volume files included.
void ExpectRoundTrip(const std::string& package, const Scratch& dir, uint32_t volumes = 0) {
  const DumpResult dump = DumpPackage(package, dir / "dump");
  EXPECT_TRUE(dump.warnings.empty()) << dump.warnings.front();
  BuildOptions options;
  options.output = dir / "again/Setup.exe";
  const BuildResult again = BuildPackage(ReadProject(dump.project_file), options);
  EXPECT_EQ(again.volumes, volumes);
  EXPECT_TRUE(test::ReadFile(package) == test::ReadFile(options.output)) << package;
  for (uint32_t n = 1; n <= volumes; ++n) {
    EXPECT_TRUE(test::ReadFile(VolumeFileName(package, n)) ==
                test::ReadFile(VolumeFileName(options.output, n)));
  }
}

void WriteEveryFeatureFiles(const Scratch& dir) {
  test::WriteFile(dir / "p.toml", test::ReadFile(kSource + "/tests/kvbpack/every_feature.toml"));
  test::WriteFile(dir / "data/splash.bmp", test::Noise(3000, 1));
  test::WriteFile(dir / "data/licence.txt", "Licence text\r\n");
  test::WriteFile(dir / "data/big.bin", test::Noise(200000, 2));
  test::WriteFile(dir / "data/four.bin", "four");
  test::WriteFile(dir / "data/empty.bin", "");
  test::WriteFile(dir / "data/pkg.cab", test::Noise(5000, 3));
  test::WriteFile(dir / "data/samplepad.exe",
                  test::ReadFile(kSource + "/examples/sample/files/samplepad.exe"));
  test::WriteFile(dir / "uninst.bin", "uninstaller");
}

TEST(RoundTripTest, Examples) {
  for (const char* example : {"/examples/hello/hello.toml", "/examples/sample/sample.toml",
                              "/examples/sample/sample-back.toml",
                              "/examples/devices/devices.toml"}) {
    Scratch dir;
    Build(kSource + example, dir / "Setup.exe", dir);
    ExpectRoundTrip(dir / "Setup.exe", dir);
  }
}

TEST(RoundTripTest, EveryFeature) {
  Scratch dir;
  WriteEveryFeatureFiles(dir);
  Build(dir / "p.toml", dir / "Setup.exe", dir);
  ExpectRoundTrip(dir / "Setup.exe", dir);
}

TEST(RoundTripTest, VolumeFiles) {
  Scratch dir;
  WriteEveryFeatureFiles(dir);
  BuildOptions options;
  options.volume_size = 70000;
  const BuildResult result = Build(dir / "p.toml", dir / "Setup.exe", dir, options);
  ASSERT_GT(result.volumes, 1u);
  const TSetupPackage pkg = ReadPackage(*OpenFileSource(dir / "Setup.exe"));
  EXPECT_FALSE(pkg.Archives.MainArchiveInFile);
  ExpectRoundTrip(dir / "Setup.exe", dir, result.volumes);
}

// A package as the format library writes it, with values no builder would choose:
// folder lists with trailing backslashes, a progress scale of 100 / 60, files placed
// in the main block although their first component is another, a component block
// without entries, scripts with large codes and odd counts, controls of every kind.
TEST(RoundTripTest, PackageOfTheFormatLibrary) {
  TSetupData data = sample::SampleData();
  auto entry = [](int32_t index, uint32_t date, std::string bytes) {
    return ArchiveEntry::FromBytes(index, date, std::move(bytes));
  };
  std::ostringstream temp, main;
  WriteTempFileArchiveSection(temp,
                              {"", {entry(2, 0x30000000, "splash"), entry(3, 0x30000001, "dll")}});
  WriteArchiveBlock(
      main,
      {"", {entry(5, 0x2B215C00, test::Noise(70000, 4)), entry(6, 0x2B215C00, "twelve bytes")}});
  const uint64_t main_block = main.str().size();
  WriteArchiveBlock(main, {"Extras", {}});
  const TPackageLayout layout =
      ComputePackageLayout(data, sample::SampleStub().size(), temp.str().size(), main.str().size());
  data.Components[1].ArchiveOffset = static_cast<uint32_t>(layout.SectionOffsets[16] + main_block);
  Scratch dir;
  test::WriteFile(dir / "Setup.exe", sample::PackageBytes(data, temp.str(), main.str()));
  ExpectRoundTrip(dir / "Setup.exe", dir);
}

TEST(RoundTripTest, DumpNamesWhatARebuildCannotReproduce) {
  TSetupData data = sample::SampleData();
  std::ostringstream main;
  // Entries in an order the builder does not write, and one that no record names.
  WriteArchiveBlock(main, {"",
                           {ArchiveEntry::FromBytes(6, 0, "b"), ArchiveEntry::FromBytes(5, 0, "a"),
                            ArchiveEntry::FromBytes(9, 0, "orphan")}});
  data.Components[1].ArchiveSpan = 0;
  Scratch dir;
  test::WriteFile(dir / "Setup.exe", sample::PackageBytes(data, "", main.str()));
  const DumpResult dump = DumpPackage(dir / "Setup.exe", dir / "dump");
  std::string all;
  for (const std::string& w : dump.warnings)
    all += w + "\n";
  EXPECT_NE(all.find("the entries of the main archive block"), std::string::npos) << all;
  EXPECT_NE(all.find("entry 2 (temp/splash.bmp) is in no archive block"), std::string::npos) << all;
}

TEST(RoundTripTest, SameBytesWithOneOrManyJobs) {
  Scratch dir;
  WriteEveryFeatureFiles(dir);
  BuildOptions one;
  one.jobs = 1;
  Build(dir / "p.toml", dir / "one.exe", dir, one);
  Build(dir / "p.toml", dir / "many.exe", dir);
  EXPECT_TRUE(test::ReadFile(dir / "one.exe") == test::ReadFile(dir / "many.exe"));
}

}  // namespace
}  // namespace kvb::pack
