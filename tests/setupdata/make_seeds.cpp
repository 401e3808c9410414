// Writes seed packages for setup_data_fuzz into the folder given as first argument:
// an empty package, the full sample package, and the sample with its main archive in
// volume files; and, into the second, seeds for package_end_fuzz: the sample behind a
// PE image, unsigned and signed (with and without padding in front of the table).
#include <cstdio>
#include <string>

#include "sample_package.h"
#include "setupdata/byte_sink.h"
#include "setupdata/package_writer.h"
#include "signed_file.h"

namespace {

bool Save(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

// The sample behind a PE image, with `unaligned` bytes in front of the trailer.
std::string PePackage(size_t unaligned) {
  kvb::MemorySource stub(kvb::test::PeImage());
  kvb::StringSink sink;
  kvb::WritePackage(sink, &stub, kvb::sample::SampleData(), {});
  std::string bytes = sink.Take();
  return bytes.insert(bytes.size() - 12, unaligned, 'u');
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_setup_data_seeds SETUP_DATA_FOLDER PACKAGE_END_FOLDER\n");
    return 2;
  }
  using namespace kvb::sample;
  const std::string folder = std::string(argv[1]) + "/";
  const std::string end_folder = std::string(argv[2]) + "/";
  const std::string temp = std::string("\x01", 1) + "block";
  const bool ok = Save(folder + "empty.pkg", PackageBytes(kvb::TSetupData{})) &&
                  Save(folder + "sample.pkg", PackageBytes(SampleData(), temp, "main")) &&
                  Save(folder + "volumes.pkg", PackageBytes(SampleData(), "", "", true)) &&
                  Save(end_folder + "unsigned.exe", PePackage(0)) &&
                  Save(end_folder + "signed.exe", kvb::test::SignFile(PePackage(0), 64)) &&
                  Save(end_folder + "signed_padded.exe", kvb::test::SignFile(PePackage(3), 64));
  if (!ok)
    std::fprintf(stderr, "cannot write the seeds\n");
  return ok ? 0 : 1;
}
